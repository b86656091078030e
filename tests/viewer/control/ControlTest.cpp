#include "tests/viewer/control/ControlTest.h"

#include <OgreAnimationState.h>
#include <OgreEntity.h>

namespace corvane::testing {

SceneObjectControl& ControlTest::add(const std::string& name, const std::string& mesh) {
    engine.addEntity(name, mesh);
    SceneObjectControl* control = registry.find(engine.sceneManager(), "entity_" + name);
    EXPECT_NE(control, nullptr);
    return *control;
}

Ogre::AnimationState& ControlTest::state(SceneObjectControl& control, const std::string& anim) {
    return *control.getEntity()->getAnimationState(anim);
}

Ogre::Node& ControlTest::node(SceneObjectControl& control) {
    return *control.getEntity()->getParentNode();
}

void ControlTest::run(int frames, double seconds) {
    for (int frame = 0; frame < frames; ++frame)
        registry.update(seconds);
}

void expectVector(const FloatVector3& actual, float x, float y, float z) {
    EXPECT_EQ(actual.x, x);
    EXPECT_EQ(actual.y, y);
    EXPECT_EQ(actual.z, z);
}

void expectQuaternion(const FloatQuaternion& actual, float w, float x, float y, float z) {
    EXPECT_EQ(actual.w, w);
    EXPECT_EQ(actual.x, x);
    EXPECT_EQ(actual.y, y);
    EXPECT_EQ(actual.z, z);
}

} // namespace corvane::testing
