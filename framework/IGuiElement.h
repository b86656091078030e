#pragma once

#include <cstdint>
#include <string>

#include "framework/IUnknown.h"

namespace corvane {

// One named element of the overlay service: a text, button, window or the time bar.
// Owned by the service; callers use it for the call at hand and never keep it.
class IGuiElement : public IUnknown {
public:
    // Slot 3: replaces the element's text.
    virtual void setText(const std::string& text) = 0;
    // Slot 4: the element's current text.
    virtual std::string getText() = 0;
    // Slot 5: whether the button was clicked since the last poll; a click is reported once.
    virtual bool wasClicked() = 0;
    // Slot 6: shows the element from the next rendered frame on.
    virtual void show() = 0;
    // Slot 7: hides the element from the next rendered frame on.
    virtual void hide() = 0;
    // Slot 8: whether the window's close box was clicked since the last poll; reported once.
    virtual bool wasCloseClicked() = 0;
    // Slot 9: whether the element is shown.
    virtual bool isVisible() = 0;
    // Slot 10: the element's top-left corner, as fractions of the window.
    virtual void setPosition(float left, float top) = 0;
    // Slot 11: the element's size, as fractions of the window.
    virtual void setSize(float width, float height) = 0;
    // Slot 12: 0 makes the element ignore the mouse (display only); any other value lets it
    // take clicks. Called with 0 on the time bar every frame.
    virtual void setInteractive(std::uint32_t interactive) = 0;

protected:
    ~IGuiElement() = default;
};

} // namespace corvane
