#pragma once

#include <cstdio>
#include <string>

namespace corvane {

// Takes what the process writes to standard error, from construction until finish(), into
// a temporary file instead: a tool reads the lines that the product's own code writes to
// the diagnostic channel. When the system refuses the redirection, everything goes to
// standard error as usual and nothing is captured.
class StandardErrorCapture {
public:
    StandardErrorCapture();
    // Gives standard error back if finish() was not called.
    ~StandardErrorCapture();
    StandardErrorCapture(const StandardErrorCapture&) = delete;
    StandardErrorCapture& operator=(const StandardErrorCapture&) = delete;

    // Gives standard error back and returns what was written meanwhile; empty on a later
    // call.
    std::string finish();

private:
    std::FILE* file = nullptr;
    int savedDescriptor = -1;
};

} // namespace corvane
