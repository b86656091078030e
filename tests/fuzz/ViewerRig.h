#pragma once

#include <string>

#include "tools/HeadlessViewer.h"

namespace corvane::fuzz {

// The viewer plug-in's own object without a window, started over one scene file of the
// fuzzer's and the generated media, with frames that derive what rendering derives. A
// frame that leaves a node, a bone's hanger or the camera with a place that is not finite
// fails the run: that is what aborts a rendering host.
class ViewerRig {
public:
    // Writes `sceneText` as the scene file and starts the viewer over it.
    explicit ViewerRig(const std::string& sceneText);

    // One frame of the viewer as the host runs it (its motion of the camera and the
    // objects, `seconds` long), then what rendering derives from it: every node's place and
    // bounding box, every skeleton and the objects that hang on its bones.
    void frame(float seconds);
    // Derives the places and bounding boxes without moving anything, and checks them.
    void derive();

    tools::HeadlessViewer viewer;
};

} // namespace corvane::fuzz
