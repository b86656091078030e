#pragma once

#include <string>

#include "framework/IUnknown.h"

namespace corvane {

class IGuiElement;

// The outside on-screen overlay service: texts, buttons, windows and the time bar.
// Id {0FAAF303-F452-4EEE-A352-8FC6BB2788B9}.
class IGuiOverlay : public IUnknown {
public:
    // Slot 3: the element of that name, owned by the service; null when it has none.
    virtual IGuiElement* getElement(const std::string& name) = 0;
    // Slot 4: playback has paused for the escape menu.
    virtual void notifyPaused() = 0;
    // Slot 5: playback has resumed.
    virtual void notifyResumed() = 0;

protected:
    ~IGuiOverlay() = default;
};

} // namespace corvane
