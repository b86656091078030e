#include "viewer/StatisticsDisplay.h"

#include <OgreStringConverter.h>
#include <algorithm>
#include <chrono>

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

// The engine's worst rate before it has measured one.
constexpr float NOT_MEASURED = 999.0f;

// The rate of frames `interval` seconds apart, written as the engine's rates are.
std::string perSecond(double interval) {
    return rate(interval > 0.0 ? static_cast<float>(1.0 / interval) : 0.0f);
}

} // namespace

void StatisticsDisplay::show(const Ogre::RenderTarget::FrameStats& statistics,
                             const std::string& debugText) {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    show(statistics, debugText, std::chrono::duration<double>(now).count());
}

void StatisticsDisplay::show(const Ogre::RenderTarget::FrameStats& statistics,
                             const std::string& debugText, double seconds) {
    if (framesShown > 0) {
        lastInterval = seconds - lastFrame;
        shortestInterval =
            framesShown > 1 ? std::min(shortestInterval, lastInterval) : lastInterval;
        longestInterval = std::max(longestInterval, lastInterval);
    } else {
        firstFrame = seconds;
    }
    lastFrame = seconds;
    ++framesShown;
    overlayProviders.bind(IID_IGuiOverlay);
    if (overlayProviders.empty())
        return;
    static const std::string currentPrefix = "Current FPS: ";
    static const std::string averagePrefix = "Average FPS: ";
    static const std::string bestPrefix = "Best FPS: ";
    static const std::string worstPrefix = "Worst FPS: ";
    static const std::string trianglePrefix = "Triangle Count: ";
    std::string current = rate(statistics.lastFPS);
    std::string average = rate(statistics.avgFPS);
    std::string worst = rate(statistics.worstFPS);
    std::string best = rate(statistics.bestFPS);
    if (statistics.avgFPS == 0.0f && statistics.worstFPS >= NOT_MEASURED) {
        current = average = worst = best = "-";
        if (framesShown > 1 && shortestInterval > 0.0) {
            current = perSecond(lastInterval);
            average = perSecond((lastFrame - firstFrame) / static_cast<double>(framesShown - 1));
            worst = perSecond(longestInterval);
            best = perSecond(shortestInterval);
        }
    }
    for (IGuiOverlay* overlay : overlayProviders) {
        setText(overlay, CURRENT_FPS_ELEMENT, currentPrefix + current);
        setText(overlay, AVERAGE_FPS_ELEMENT, averagePrefix + average);
        setText(overlay, WORST_FPS_ELEMENT, worstPrefix + worst);
        setText(overlay, BEST_FPS_ELEMENT, bestPrefix + best);
        setText(overlay, TRIANGLE_COUNT_ELEMENT,
                trianglePrefix + Ogre::StringConverter::toString(statistics.triangleCount));
        setText(overlay, DEBUG_TEXT_ELEMENT, debugText);
    }
}

} // namespace corvane
