#include "platform/DebugOutput.h"

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

std::string DebugOutput::oneLine(std::string_view text) {
    std::string line(text);
    for (char& c : line)
        if (c == '\n' || c == '\r')
            c = ' ';
    return line;
}

} // namespace corvane
