#include "platform/DisplayLoss.h"

#include <X11/Xlib.h>
#include <cstdlib>

namespace corvane {

namespace {

// Set once at start-up, read by the X library's handler.
void (*endingCall)(const std::string&) = nullptr;
int endingStatus = 1;
bool ending = false;

extern "C" int onDisplayLost(Display* display) {
    if (!ending && endingCall != nullptr) {
        ending = true;
        const char* name = display != nullptr ? DisplayString(display) : nullptr;
        endingCall(name != nullptr ? name : "");
    }
    std::_Exit(endingStatus);
}

} // namespace

void DisplayLoss::handleWith(void (*ending)(const std::string& display), int status) {
    endingCall = ending;
    endingStatus = status;
    XSetIOErrorHandler(onDisplayLost);
}

} // namespace corvane
