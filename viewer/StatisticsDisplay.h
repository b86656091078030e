#pragma once

#include <string>

#include <OgreRenderTarget.h>

#include "framework/IGuiOverlay.h"
#include "framework/ProviderList.h"

namespace corvane {

// Writes the render window's frame statistics and the viewer's debug text into the text
// elements of every overlay service found through the host. Which of the elements exist,
// and where and whether they are shown, is the overlay's own business.
class StatisticsDisplay {
public:
    // Binds the overlay services while none is bound (so at most one host query per call),
    // then sets the six texts in every service, from the front of the list. An element a
    // service lacks is skipped.
    void show(const Ogre::RenderTarget::FrameStats& statistics, const std::string& debugText);

    static const char* const CURRENT_FPS_ELEMENT;
    static const char* const AVERAGE_FPS_ELEMENT;
    static const char* const WORST_FPS_ELEMENT;
    static const char* const BEST_FPS_ELEMENT;
    static const char* const TRIANGLE_COUNT_ELEMENT;
    static const char* const DEBUG_TEXT_ELEMENT;

private:
    ProviderList<IGuiOverlay> overlayProviders;
};

} // namespace corvane
