#pragma once

#include <string>
#include <vector>

namespace corvane::lint {

// `corvane lint`: loads a scene and its keyframe script with the product's own loaders,
// checks the one against the other, and reports what it found.
class LintProgram {
public:
    // Exit statuses.
    static constexpr int CLEAN = 0;      // no error (with --strict, no warning either)
    static constexpr int FOUND = 1;      // an error, or with --strict a warning
    static constexpr int UNREADABLE = 2; // a file cannot be read, or a bad command line

    // Runs with the arguments after "lint"; returns the exit status.
    static int run(const std::vector<std::string>& arguments);
};

} // namespace corvane::lint
