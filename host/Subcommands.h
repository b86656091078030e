#pragma once

#include <string>
#include <vector>

namespace corvane {

// The host's subcommands: `corvane NAME ARGUMENTS...` runs what NAME stands for instead of
// the plug-ins. Each is one row of a table; a subcommand carried out by a tool program of
// ours finds it where the host finds its plug-ins and runs it in the host's place, others
// run in the host itself.
class Subcommands {
public:
    // False when the first argument names no subcommand. True otherwise, with `status` the
    // host's exit status: a tool that runs never returns here, and its status is the host's.
    static bool dispatch(const std::vector<std::string>& arguments, int& status);
    // One line a subcommand for the host's usage text.
    static std::string usage();
};

} // namespace corvane
