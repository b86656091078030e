#include "framework/NameSuggestion.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace corvane {

namespace {

std::string didYouMean(const std::string& name) {
    return " (did you mean \"" + name + "\"?)";
}

} // namespace

std::string NameSuggestion::of(const std::string& name, const std::set<std::string>& known,
                               const std::string& prefix) {
    if (!prefix.empty() && name.rfind(prefix, 0) != 0 && known.count(prefix + name) != 0)
        return didYouMean(prefix + name);
    // A third of the name, one edit at the least and three at the most: more than that
    // suggests names that only look alike by chance.
    const std::size_t limit = std::clamp<std::size_t>(name.size() / 3, 1, 3);
    const std::string* best = nullptr;
    std::size_t bestDistance = limit + 1;
    for (const std::string& candidate : known) {
        const std::size_t distance = editDistance(name, candidate);
        if (distance < bestDistance) {
            best = &candidate;
            bestDistance = distance;
        }
    }
    return best != nullptr ? didYouMean(*best) : "";
}

std::size_t NameSuggestion::editDistance(const std::string& from, const std::string& to) {
    // Three rows of the table: current[j] is the distance between the first i characters of
    // `from` and the first j of `to`; two characters swapped count as one edit, the usual
    // slip of typing.
    std::vector<std::size_t> earlier(to.size() + 1);
    std::vector<std::size_t> previous(to.size() + 1);
    std::vector<std::size_t> current(to.size() + 1);
    std::iota(current.begin(), current.end(), std::size_t{0});
    for (std::size_t i = 1; i <= from.size(); ++i) {
        earlier.swap(previous);
        previous.swap(current);
        current[0] = i;
        for (std::size_t j = 1; j <= to.size(); ++j) {
            const bool same = from[i - 1] == to[j - 1];
            current[j] =
                std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (same ? 0 : 1)});
            if (i > 1 && j > 1 && from[i - 1] == to[j - 2] && from[i - 2] == to[j - 1])
                current[j] = std::min(current[j], earlier[j - 2] + 1);
        }
    }
    return current[to.size()];
}

} // namespace corvane
