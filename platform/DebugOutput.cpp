#include "platform/DebugOutput.h"

#include <cstdio>
#include <sstream>
#include <string>
#include <unistd.h>

#include "platform/SystemError.h"

namespace corvane {

void DebugOutput::write(std::string_view text) {
    // A channel that cannot be written (closed, its reader gone) drops the text.
    SystemError::writeAll(STDERR_FILENO, text);
}

void DebugOutput::line(std::string_view text) {
    std::string whole;
    whole.reserve(text.size() + 1);
    whole.append(text);
    whole += '\n';
    write(whole);
}

std::string DebugOutput::number(double value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

std::string DebugOutput::bytes(std::uint64_t size) {
    char text[32];
    if (size >= (std::uint64_t(1) << 20))
        std::snprintf(text, sizeof(text), "%.1f MB", static_cast<double>(size) / 1048576.0);
    else
        std::snprintf(text, sizeof(text), "%.1f kB", static_cast<double>(size) / 1024.0);
    return text;
}

std::string DebugOutput::oneLine(std::string_view text) {
    std::string line(text);
    for (char& c : line)
        if (c == '\n' || c == '\r')
            c = ' ';
    return line;
}

} // namespace corvane
