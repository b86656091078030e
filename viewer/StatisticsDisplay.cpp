#include "viewer/StatisticsDisplay.h"

#include <OgreStringConverter.h>

#include "framework/IGuiElement.h"
#include "framework/Identifiers.h"
#include "framework/OverlayElementNames.h"

namespace corvane {

const char* const StatisticsDisplay::CURRENT_FPS_ELEMENT = OverlayElementNames::CURRENT_FPS;
const char* const StatisticsDisplay::AVERAGE_FPS_ELEMENT = OverlayElementNames::AVERAGE_FPS;
const char* const StatisticsDisplay::WORST_FPS_ELEMENT = OverlayElementNames::WORST_FPS;
const char* const StatisticsDisplay::BEST_FPS_ELEMENT = OverlayElementNames::BEST_FPS;
const char* const StatisticsDisplay::TRIANGLE_COUNT_ELEMENT = OverlayElementNames::TRIANGLE_COUNT;
const char* const StatisticsDisplay::DEBUG_TEXT_ELEMENT = OverlayElementNames::DEBUG_TEXT;

namespace {

void setText(IGuiOverlay* overlay, const char* element, const std::string& text) {
    if (IGuiElement* target = overlay->getElement(element))
        target->setText(text);
}

// Six significant digits in the general notation of a standard stream: 60 for 60.0,
// 59.8802 for 59.88024.
std::string rate(float framesPerSecond) {
    return Ogre::StringConverter::toString(framesPerSecond, 6, 0, ' ');
}

} // namespace

void StatisticsDisplay::show(const Ogre::RenderTarget::FrameStats& statistics,
                             const std::string& debugText) {
    overlayProviders.bind(IID_IGuiOverlay);
    if (overlayProviders.empty())
        return;
    static const std::string currentPrefix = "Current FPS: ";
    static const std::string averagePrefix = "Average FPS: ";
    static const std::string bestPrefix = "Best FPS: ";
    static const std::string worstPrefix = "Worst FPS: ";
    static const std::string trianglePrefix = "Triangle Count: ";
    for (IGuiOverlay* overlay : overlayProviders) {
        setText(overlay, CURRENT_FPS_ELEMENT, currentPrefix + rate(statistics.lastFPS));
        setText(overlay, AVERAGE_FPS_ELEMENT, averagePrefix + rate(statistics.avgFPS));
        setText(overlay, WORST_FPS_ELEMENT, worstPrefix + rate(statistics.worstFPS));
        setText(overlay, BEST_FPS_ELEMENT, bestPrefix + rate(statistics.bestFPS));
        setText(overlay, TRIANGLE_COUNT_ELEMENT,
                trianglePrefix + Ogre::StringConverter::toString(statistics.triangleCount));
        setText(overlay, DEBUG_TEXT_ELEMENT, debugText);
    }
}

} // namespace corvane
