#pragma once

namespace corvane {

// SIGINT, SIGTERM and SIGHUP (a closed terminal), turned into a request that the frame loop
// polls: the run then stops as at its end, with what it wrote kept and said.
class StopSignals {
public:
    // Installs the handlers; a second signal while stopping ends the process at once.
    static void install();
    // The signal that asked for a stop, or 0.
    static int received();
    // Forgets a received signal (tests run several hosts in one process).
    static void reset();
};

} // namespace corvane
