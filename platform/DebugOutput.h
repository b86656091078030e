#pragma once

#include <cstdint>
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
    // A number as the lines write it, in the stream's shortest form of six significant
    // digits: "0.5", "1.93333", "3e+38", "inf", "nan".
    static std::string number(double value);
    // A file's size as the lines write it: "312.4 kB" below a mebibyte, "4.1 MB" from one.
    static std::string bytes(std::uint64_t size);
};

} // namespace corvane
