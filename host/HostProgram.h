#pragma once

#include <string>
#include <vector>

namespace corvane {

// The host program as a whole: command line, configuration, plug-ins, frames.
class HostProgram {
public:
    // Runs the host with the arguments after the program name; returns the exit status.
    static int run(const std::vector<std::string>& arguments);
};

} // namespace corvane
