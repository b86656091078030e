#pragma once

namespace corvane {

// SIGINT and SIGTERM, turned into a request that the frame loop polls.
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
