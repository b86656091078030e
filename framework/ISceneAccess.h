#pragma once

#include <string>

#include "framework/IUnknown.h"

namespace corvane {

class ISceneObject;

// The viewer's scene: controllable objects by entity name, and the scene's time scale.
// Id {9DCE6830-EBA8-44A0-88C1-B7FE386B5E07}. Only after the viewer has started.
class ISceneAccess : public IUnknown {
public:
    // Slot 3: the control of the entity of that name, made on first lookup and owned by the
    // viewer until it is unloaded; null when the scene has no such entity.
    virtual ISceneObject* getSceneObject(const std::string& entityName) = 0;
    // Slot 4: factor on the elapsed seconds of every scene object and of the camera; 0 pauses.
    virtual void setTimeScale(float scale) = 0;
    // Slot 5: the render window's width in pixels.
    virtual unsigned int getWindowWidth() = 0;
    // Slot 6: the render window's height in pixels.
    virtual unsigned int getWindowHeight() = 0;

protected:
    ~ISceneAccess() = default;
};

} // namespace corvane
