#include "platform/Terminal.h"

#include <sys/ioctl.h>
#include <unistd.h>

namespace corvane {

bool Terminal::standardErrorIsTerminal() {
    return isatty(STDERR_FILENO) == 1;
}

int Terminal::columns() {
    winsize size{};
    if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return 80;
}

} // namespace corvane
