#include "platform/StandardStreams.h"

#include <csignal>
#include <fcntl.h>
#include <initializer_list>
#include <unistd.h>

namespace corvane {

void StandardStreams::secure() {
    for (int stream : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO})
        if (::fcntl(stream, F_GETFD) < 0) {
            // open() takes the lowest free number: the closed stream's.
            const int opened = ::open("/dev/null", stream == STDIN_FILENO ? O_RDONLY : O_WRONLY);
            if (opened >= 0 && opened != stream) {
                ::dup2(opened, stream);
                ::close(opened);
            }
        }
    std::signal(SIGPIPE, SIG_IGN);
}

} // namespace corvane
