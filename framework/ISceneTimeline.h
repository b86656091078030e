#pragma once

#include "framework/IUnknown.h"

namespace corvane {

// The viewer's scene as something to rewind and replay: what a playback needs to put the
// scene into its state at any time of a run. Id {77CF0780-312B-4F84-A84E-54BDC326459B}.
// Only after the viewer has started.
class ISceneTimeline : public IUnknown {
public:
    // Slot 3: puts the scene back as it was at the end of the viewer's start: every scene
    // node's transform, every entity's attachment (to its node, or to a bone with its
    // offsets), every animation state's time, weight, enabled and loop flags, the camera's
    // transform and motion; every object's stored rates, slides, velocity, target and turn
    // emptied, as nothing had set them then. The time scale stays as it is.
    // False, changing nothing, before the viewer has started.
    virtual bool restoreLoadedScene() = 0;
    // Slot 4: the camera motion and the object updates of one frame of `seconds`, scaled by
    // the time scale, exactly as a frame makes them; no window events, statistics or
    // rendering, and no line for objects reaching their targets.
    virtual void advanceScene(float seconds) = 0;

protected:
    ~ISceneTimeline() = default;
};

} // namespace corvane
