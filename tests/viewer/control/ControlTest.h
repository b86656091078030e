#pragma once

#include <gtest/gtest.h>

#include <string>

#include "framework/FloatQuaternion.h"
#include "framework/FloatVector3.h"
#include "tools/HeadlessMediaEngine.h"
#include "viewer/control/SceneObjectRegistry.h"

namespace Ogre {
class AnimationState;
class Node;
} // namespace Ogre

namespace corvane::testing {

using tools::HeadlessMediaEngine;

// A scene without a window on the generated media, with the registry that serves its
// entities' controls.
class ControlTest : public ::testing::Test {
protected:
    // The control of a new entity "entity_<name>" of `mesh` on a new node "node_<name>"
    // under the root node.
    SceneObjectControl& add(const std::string& name, const std::string& mesh);
    Ogre::AnimationState& state(SceneObjectControl& control, const std::string& anim);
    // The node the control's transform operations act on.
    static Ogre::Node& node(SceneObjectControl& control);
    // Runs `frames` updates of the whole registry, `seconds` each.
    void run(int frames, double seconds);

    HeadlessMediaEngine engine;
    SceneObjectRegistry registry;
};

// Exact comparisons of the values that cross the interface.
void expectVector(const FloatVector3& actual, float x, float y, float z);
void expectQuaternion(const FloatQuaternion& actual, float w, float x, float y, float z);

// Everything written to the diagnostic channel while `work` runs.
template <class Work>
std::string diagnosticsOf(Work&& work) {
    ::testing::internal::CaptureStderr();
    work();
    return ::testing::internal::GetCapturedStderr();
}

} // namespace corvane::testing
