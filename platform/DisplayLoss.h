#pragma once

#include <string>

namespace corvane {

// The loss of the X display: its server ended, or the connection to it broke. The X
// library ends the process with exit(1) from inside whichever call noticed it, in the
// middle of a frame: every static object is destroyed there, the viewer's engine among
// them, over a renderer that is half way through its work (a crash, a core file, and no
// word of how the run ended).
class DisplayLoss {
public:
    // From now on a lost display calls `ending` with the display's name, in place of the X
    // library's exit. `ending` must end the process without destroying static objects
    // (std::_Exit); should it return, or the loss be noticed again while it runs, the
    // process ends at once with `status`.
    static void handleWith(void (*ending)(const std::string& display), int status);
};

} // namespace corvane
