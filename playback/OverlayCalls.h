#pragma once

#include <string>

#include "framework/IGuiElement.h"
#include "framework/IGuiOverlay.h"

namespace corvane {

// The playback's calls on overlay elements. Every element is looked up each time it is
// used; an element the overlay lacks only drops that use.
inline void setElementVisible(IGuiOverlay& overlay, const char* name, bool visible) {
    IGuiElement* element = overlay.getElement(name);
    if (element == nullptr)
        return;
    if (visible)
        element->show();
    else
        element->hide();
}

inline void setElementText(IGuiOverlay& overlay, const char* name, const std::string& text) {
    if (IGuiElement* element = overlay.getElement(name))
        element->setText(text);
}

} // namespace corvane
