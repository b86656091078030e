#pragma once

#include <set>
#include <string>

namespace corvane {

// "Did you mean" for a name that is not known: the known name that a prefix the name lacks
// completes ("gift" for "node_gift"), else the nearest within a few edits.
class NameSuggestion {
public:
    // " (did you mean \"NAME\"?)", or empty when no known name is near enough.
    static std::string of(const std::string& name, const std::set<std::string>& known,
                          const std::string& prefix = "");

    // The number of single-character insertions, deletions, substitutions and swaps of two
    // neighbours that turn one text into the other.
    static std::size_t editDistance(const std::string& from, const std::string& to);
};

} // namespace corvane
