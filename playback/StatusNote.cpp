#include "playback/StatusNote.h"

#include "framework/OverlayElementNames.h"
#include "playback/OverlayCalls.h"

namespace corvane {

void StatusNote::show(const std::string& text) {
    write(text);
    left = SECONDS;
}

void StatusNote::advance(float seconds) {
    if (left <= 0.0f)
        return;
    left -= seconds;
    if (left <= 0.0f) {
        left = 0.0f;
        write("");
    }
}

void StatusNote::write(const std::string& text) {
    for (IGuiOverlay* overlay : providers.guiOverlays)
        setElementText(*overlay, OverlayElementNames::STATUS_NOTE, text);
}

} // namespace corvane
