#pragma once

#include <string>
#include <string_view>

namespace corvane {

// The diagnostic channel: text goes to standard error unchanged, in one write, so that
// lines from two writers never interleave.
class DebugOutput {
public:
    static void write(std::string_view text);
    // `text` followed by a line feed, in one write.
    static void line(std::string_view text);
    // `text` with its line breaks turned into spaces: the engine's and the parser's
    // messages may hold some, and a diagnostic is one line.
    static std::string oneLine(std::string_view text);
};

} // namespace corvane
