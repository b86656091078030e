#include "platform/StopSignals.h"

#include <csignal>

namespace corvane {

namespace {

// Written by the handler only; a handler may touch nothing but such a flag.
volatile std::sig_atomic_t receivedSignal = 0;

extern "C" void onStopSignal(int signal) {
    if (receivedSignal != 0) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    receivedSignal = signal;
}

} // namespace

void StopSignals::install() {
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

int StopSignals::received() {
    return receivedSignal;
}

void StopSignals::reset() {
    receivedSignal = 0;
}

} // namespace corvane
