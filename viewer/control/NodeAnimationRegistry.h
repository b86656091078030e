#pragma once

#include <map>
#include <string>

#include "viewer/control/NodeAnimationControl.h"

namespace Ogre {
class SceneManager;
}

namespace corvane {

class DiagnosticSink;

// The controls of the scene's animated nodes, by node name, and the one clock that plays
// their animations: the viewer's scaled frame time, so that pausing, speed, seeking and
// looping apply to them as to everything else in the scene.
class NodeAnimationRegistry {
public:
    // The controls' lines go to `sink` (not owned), standard error when it is null.
    explicit NodeAnimationRegistry(DiagnosticSink* sink = nullptr);
    ~NodeAnimationRegistry();
    NodeAnimationRegistry(const NodeAnimationRegistry&) = delete;
    NodeAnimationRegistry& operator=(const NodeAnimationRegistry&) = delete;

    // A control for every node of `sceneManager` that the scene loader gave animations.
    void bind(Ogre::SceneManager& sceneManager);
    // The control of the node of that name; null when it has no animations.
    NodeAnimationControl* find(const std::string& nodeName);
    // One step of `seconds` (scaled) of every control, then the animations put on their
    // nodes, as rendering would: what is derived from those nodes is right at once, also in
    // frames that a seek replays.
    void update(double seconds);
    // Every control as the scene loaded it.
    void resetMotion();
    bool empty() const { return controls.empty(); }

private:
    DiagnosticSink* sink;
    Ogre::SceneManager* sceneManager = nullptr;
    std::map<std::string, NodeAnimationControl> controls;
};

} // namespace corvane
