#pragma once

namespace corvane {

// The terminal that standard error shows on, if any.
class Terminal {
public:
    // Whether standard error goes to a terminal (not a file or a pipe).
    static bool standardErrorIsTerminal();
    // The terminal's width in characters; 80 when it cannot be told.
    static int columns();
};

} // namespace corvane
