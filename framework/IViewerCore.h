#pragma once

#include "framework/IUnknown.h"

namespace Ogre {
class RenderWindow;
class SceneManager;
} // namespace Ogre

namespace corvane {

// The viewer's renderer, for plug-ins that draw into or read from its window.
// Id {3E9F93CA-B8BC-4D2B-939D-438A8479616D}; the viewer object's start.
class IViewerCore : public IUnknown {
public:
    // Slot 3: the render window; null before the viewer has started.
    virtual Ogre::RenderWindow* getRenderWindow() = 0;
    // Slot 4: the scene manager; null before the viewer has started.
    virtual Ogre::SceneManager* getSceneManager() = 0;

protected:
    ~IViewerCore() = default;
};

} // namespace corvane
