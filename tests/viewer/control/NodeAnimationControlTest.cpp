// A scene node's animation stops at its stop time and ends its weight slide on the target,
// in either direction, and stands still afterwards.
#include <OgreAnimation.h>
#include <OgreAnimationState.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>

#include "tests/viewer/control/ControlTest.h"
#include "viewer/control/NodeAnimationControl.h"

namespace corvane::testing {
namespace {

TEST_F(ControlTest, ANodeAnimationStopsAtItsStopTimeAndItsSlideOnTheTarget) {
    const struct {
        float from;
        double rate;
        double stopTime;
        double slideRate;
        double target;
        float time;   // after enough frames to pass the stop time and reach the target
        float weight; // the same
    } rows[] = {
        {0.0f, 1.0, 0.5, 1.0, 0.75, 0.5f, 0.75f},
        {1.0f, -1.0, 0.25, -1.0, 0.25, 0.25f, 0.25f},
    };
    Ogre::SceneManager& scene = *engine.sceneManager();
    Ogre::SceneNode& node = *scene.getRootSceneNode()->createChildSceneNode("node_door");
    Ogre::Animation* animation = scene.createAnimation("node_door/open", 2.0f);
    animation->createNodeTrack(0, &node);
    Ogre::AnimationState& state = *scene.createAnimationState("node_door/open");
    NodeAnimationControl control(scene, node, {{"open", animation}}, nullptr);
    for (const auto& row : rows) {
        control.resetMotion();
        state.setTimePosition(row.from);
        state.setWeight(0.5f);
        control.setAnimationRate("open", row.rate);
        control.setAnimationStopTime("open", row.stopTime);
        control.setWeightSlideRate("open", row.slideRate);
        control.setWeightSlideTarget("open", row.target);
        for (int frame = 0; frame < 8; ++frame)
            control.update(0.2);
        EXPECT_EQ(state.getTimePosition(), row.time) << row.rate;
        EXPECT_EQ(state.getWeight(), row.weight) << row.rate;
    }
}

} // namespace
} // namespace corvane::testing
