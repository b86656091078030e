#pragma once

#include <string>
#include <sys/types.h>

namespace corvane {

// A virtual X server (Xvfb, Debian package xvfb) as a child of this process, for a run
// without a display: the process one started stays the one that runs, so that a signal to
// it (a farm manager's kill, timeout(1)) reaches the run. The server has a process group
// of its own, so that a terminal's Ctrl-C, sent to the run's group, reaches the run alone,
// which then ends the server after its orderly stop; and it is told to end when this
// process ends by any other way (killed at once), so that no server and none of its lock
// files outlive the run.
class VirtualDisplay {
public:
    VirtualDisplay() = default;
    // stop().
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    // Starts a server on a free display with one screen of `screen` ("1024x768x24") and
    // waits until it takes connections, then sets DISPLAY for this process and the
    // programs it runs. False with the reason in `error` (the server cannot be run, ended
    // at its start, or did not answer within a few seconds).
    bool start(const std::string& screen, std::string& error);
    // Ends the server and waits for it; nothing when none runs. A server that was killed
    // before it could remove its lock file and socket has them removed here.
    void stop();
    // stop() of the server started last, if it runs: for an end of the process that
    // destroys no objects.
    static void stopRunning();

    // The display's name (":3"); empty before start().
    const std::string& name() const { return displayName; }

    // The server program: Xvfb from the folders of PATH; empty when there is none.
    static std::string program();

private:
    pid_t server = 0;
    std::string displayName;
};

} // namespace corvane
