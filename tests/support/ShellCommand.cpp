#include "tests/support/ShellCommand.h"

#include <cstdio>
#include <sys/wait.h>

namespace corvane::testing {

ShellCommand::Outcome ShellCommand::run(const std::string& command) {
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return {-1, {}};
    std::string output;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

} // namespace corvane::testing
