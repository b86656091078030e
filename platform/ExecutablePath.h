#pragma once

#include <string>

namespace corvane {

// Where the running program lives, so the host can find the plug-ins installed beside it.
class ExecutablePath {
public:
    // The folder of the running executable, without a trailing separator; empty when the
    // system cannot tell.
    static std::string folder();
    // The running executable itself; empty when the system cannot tell.
    static std::string file();
};

} // namespace corvane
