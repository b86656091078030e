#pragma once

#include <string>

#include <OgreRenderTarget.h>

#include "framework/IGuiOverlay.h"
#include "framework/ProviderList.h"

namespace corvane {

// Writes the render window's frame statistics and the viewer's debug text into the text
// elements of every overlay service found through the host. Which of the elements exist,
// and where and whether they are shown, is the overlay's own business.
//
// The engine works its rates out once a second, and before its first second has passed
// the record holds no rate (a worst rate of 999, the others 0): until then the rates are
// the display's own, from the frames it has shown, and "-" before there are two.
class StatisticsDisplay {
public:
    // Binds the overlay services while none is bound (so at most one host query per call),
    // then sets the six texts in every service, from the front of the list. An element a
    // service lacks is skipped.
    void show(const Ogre::RenderTarget::FrameStats& statistics, const std::string& debugText);
    // The same at `seconds` of a steady clock.
    void show(const Ogre::RenderTarget::FrameStats& statistics, const std::string& debugText,
              double seconds);

    static const char* const CURRENT_FPS_ELEMENT;
    static const char* const AVERAGE_FPS_ELEMENT;
    static const char* const WORST_FPS_ELEMENT;
    static const char* const BEST_FPS_ELEMENT;
    static const char* const TRIANGLE_COUNT_ELEMENT;
    static const char* const DEBUG_TEXT_ELEMENT;

private:
    ProviderList<IGuiOverlay> overlayProviders;
    // The frames shown so far: how many, when the first and the last were, and the
    // shortest and longest time between two.
    long framesShown = 0;
    double firstFrame = 0.0;
    double lastFrame = 0.0;
    double lastInterval = 0.0;
    double shortestInterval = 0.0;
    double longestInterval = 0.0;
};

} // namespace corvane
