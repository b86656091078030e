#pragma once

#include <string>

namespace corvane::testing {

// A command line run by the shell, as a user would type it.
class ShellCommand {
public:
    struct Outcome {
        int status;         // the exit status; -1 when the command did not exit by itself
        std::string output; // what it wrote to standard output
    };

    static Outcome run(const std::string& command);
};

} // namespace corvane::testing
