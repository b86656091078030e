#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "viewer/control/SceneObjectControl.h"

namespace Ogre {
class SceneManager;
}

namespace corvane {

// The controllable objects of the scene, by entity name, each made on its first lookup
// and kept at a fixed address until the registry goes.
class SceneObjectRegistry {
public:
    // The controls' lines go to `sink` (not owned), standard error when it is null.
    explicit SceneObjectRegistry(DiagnosticSink* sink = nullptr);
    ~SceneObjectRegistry();
    SceneObjectRegistry(const SceneObjectRegistry&) = delete;
    SceneObjectRegistry& operator=(const SceneObjectRegistry&) = delete;

    // The control of the entity of that name, made on first lookup; null when the scene
    // manager has no such entity (an entry made earlier stays).
    SceneObjectControl* find(Ogre::SceneManager* sceneManager, const std::string& entityName);
    // One update of every control, in ascending order of entity name; `reportTargets` as
    // SceneObjectControl::update takes it.
    void update(double seconds, bool reportTargets = true);
    std::size_t size() const;
    // Every control, by entity name.
    std::map<std::string, SceneObjectControl>& entries() { return controls; }

private:
    // Made before the controls, which keep pointers into it, and gone after them.
    SceneObjectControl::AnimationNames animationNames;
    // Map nodes never move, so the address of a control is stable.
    std::map<std::string, SceneObjectControl> controls;
    // The controls in ascending name order, remade after an insertion: a pass over
    // independent addresses keeps the processor's loads going where walking the tree
    // would wait for each node in turn.
    std::vector<SceneObjectControl*> updateOrder;
    bool updateOrderStale = false;
    DiagnosticSink* sink;
};

} // namespace corvane
