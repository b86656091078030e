#include "platform/DebugOutput.h"

#include <cerrno>
#include <sstream>
#include <string>
#include <unistd.h>

namespace corvane {

void DebugOutput::write(std::string_view text) {
    const char* data = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        const ssize_t written = ::write(STDERR_FILENO, data, left);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
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

std::string DebugOutput::oneLine(std::string_view text) {
    std::string line(text);
    for (char& c : line)
        if (c == '\n' || c == '\r')
            c = ' ';
    return line;
}

} // namespace corvane
