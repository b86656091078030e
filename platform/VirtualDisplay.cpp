#include "platform/VirtualDisplay.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "platform/ProcessEnvironment.h"
#include "platform/ProcessImage.h"
#include "platform/SystemError.h"

namespace corvane {

namespace {

constexpr int START_TIMEOUT_MS = 10000;
constexpr auto STOP_TIMEOUT = std::chrono::seconds(3);

std::string describeEnd(int status) {
    if (WIFEXITED(status))
        return "ended with status " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status))
        return "was ended by signal " + std::to_string(WTERMSIG(status));
    return "ended";
}

// In the child, between fork and exec: only calls that are safe there.
[[noreturn]] void runServer(const std::vector<char*>& argv, int readyWriter, pid_t parent) {
    ::setpgid(0, 0);
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != parent) // the run ended already
        ::_exit(127);
    // The server writes its display number to this descriptor, by number, once it is ready.
    if (readyWriter != 3) {
        ::dup2(readyWriter, 3);
        ::close(readyWriter);
    } else {
        ::fcntl(3, F_SETFD, 0);
    }
    const int quiet = ::open("/dev/null", O_RDWR);
    if (quiet >= 0) {
        ::dup2(quiet, STDIN_FILENO);
        ::dup2(quiet, STDOUT_FILENO);
        ::dup2(quiet, STDERR_FILENO);
    }
    // What this process ignores (SIGPIPE), its program would ignore too.
    ::signal(SIGPIPE, SIG_DFL);
    ::execv(argv[0], argv.data());
    ::_exit(127);
}

// What a server killed at once leaves: its socket, and its lock file while that still names
// it (a server told its display by -displayfd lays none).
void removeLeftovers(const std::string& number, pid_t server) {
    ::unlink(("/tmp/.X11-unix/X" + number).c_str());
    const std::string lock = "/tmp/.X" + number + "-lock";
    char text[16] = {};
    const int file = ::open(lock.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0)
        return;
    const ssize_t got = ::read(file, text, sizeof text - 1);
    ::close(file);
    if (got > 0 && std::atol(text) == static_cast<long>(server))
        ::unlink(lock.c_str());
}

// The server started last, for stopRunning().
VirtualDisplay* running = nullptr;

} // namespace

void VirtualDisplay::stopRunning() {
    if (running != nullptr)
        running->stop();
}

VirtualDisplay::~VirtualDisplay() {
    stop();
}

std::string VirtualDisplay::program() {
    return ProcessImage::find("Xvfb");
}

bool VirtualDisplay::start(const std::string& screen, std::string& error) {
    stop();
    const std::string path = program();
    if (path.empty()) {
        error = "there is no Xvfb in PATH";
        return false;
    }
    std::vector<std::string> arguments{path,   "-displayfd", "3",   "-screen", "0",
                                       screen, "-nolisten",  "tcp", "-noreset"};
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    int ready[2];
    if (::pipe2(ready, O_CLOEXEC) != 0) {
        error = SystemError::reason(errno);
        return false;
    }
    const pid_t parent = ::getpid();
    server = ::fork();
    if (server == 0)
        runServer(argv, ready[1], parent);
    const int forkError = errno;
    ::close(ready[1]);
    if (server < 0) {
        server = 0;
        ::close(ready[0]);
        error = SystemError::reason(forkError);
        return false;
    }

    std::string number;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(START_TIMEOUT_MS);
    while (number.empty() || number.back() != '\n') {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd wait{ready[0], POLLIN, 0};
        const int polled = left.count() > 0 ? ::poll(&wait, 1, static_cast<int>(left.count())) : 0;
        if (polled < 0 && errno == EINTR)
            continue;
        char buffer[16];
        const ssize_t got = polled > 0 ? ::read(ready[0], buffer, sizeof buffer) : -1;
        if (got <= 0) {
            ::close(ready[0]);
            int status = 0;
            if (got == 0 && ::waitpid(server, &status, 0) == server) {
                server = 0;
                error = path + " " + describeEnd(status) + " before it took connections";
            } else {
                stop();
                error = path + " did not take connections within " +
                        std::to_string(START_TIMEOUT_MS / 1000) + " s";
            }
            return false;
        }
        number.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(ready[0]);
    number.pop_back();
    displayName = ":" + number;
    running = this;
    ProcessEnvironment::set("DISPLAY", displayName);
    return true;
}

void VirtualDisplay::stop() {
    if (server <= 0)
        return;
    ::kill(server, SIGTERM);
    // The server removes its lock file and socket as it ends; it is given a moment.
    const auto deadline = std::chrono::steady_clock::now() + STOP_TIMEOUT;
    int status = 0;
    while (::waitpid(server, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(server, SIGKILL);
            ::waitpid(server, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL && !displayName.empty())
        removeLeftovers(displayName.substr(1), server);
    server = 0;
    if (running == this)
        running = nullptr;
}

} // namespace corvane
