#pragma once

#include <string>

#include "framework/IUnknown.h"

namespace corvane {

// Named input actions ("SHOW_MENU", "EXIT", ...) mapped from keys and buttons.
// Id {8B125698-7D02-4015-934A-83EA89D36E55}.
class IActionInput : public IUnknown {
public:
    // Slot 3: above 0 while the action is triggered in this frame; 0 otherwise and for
    // unknown names.
    virtual float getActionValue(const std::string& action) = 0;

protected:
    ~IActionInput() = default;
};

} // namespace corvane
