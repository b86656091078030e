#pragma once

#include <string>

namespace corvane::testing {

// A display for a program that draws (the benchmarks): without one, the program runs itself
// again under a virtual X server.
class VirtualScreen {
public:
    // Returns when there is a display; without one, runs this program again under
    // `xvfb-run`, and returns only when that cannot be done (said on standard error, naming
    // `program`).
    static void ensure(const std::string& program);
};

} // namespace corvane::testing
