#include <gtest/gtest.h>

#include <cfloat>

#include <OgreEntity.h>
#include <OgreMath.h>
#include <OgreSceneNode.h>

#include "tests/viewer/control/ControlTest.h"

namespace corvane::testing {
namespace {

class SceneObjectMotion : public ControlTest {
protected:
    SceneObjectControl& box = add("box", "box.mesh");
};

bool sameRotation(const Ogre::Quaternion& a, const Ogre::Quaternion& b) {
    // The engine's angle between quaternions loses about 1e-3 radians to float rounding.
    return a.equals(b, Ogre::Degree(0.1f));
}

TEST_F(SceneObjectMotion, TranslateFollowsTheNodesOwnAxesAndPositionsAreRelativeToTheParent) {
    Ogre::Node& parent = *engine.addNode("parent");
    parent.setPosition(100, 0, 0);
    parent.addChild(node(box).getParent()->removeChild(&node(box)));

    box.setPosition(FloatVector3{1, 2, 3});
    expectVector(box.getPosition(), 1, 2, 3);
    expectVector(box.getWorldPosition(), 101, 2, 3);

    // A quarter turn about Y: the node's own +X is the parent's -Z.
    node(box).yaw(Ogre::Degree(90));
    box.translate(FloatVector3{2, 0, 0});
    const FloatVector3 moved = box.getPosition();
    EXPECT_NEAR(moved.x, 1, 1e-5f);
    EXPECT_NEAR(moved.z, 1, 1e-5f);
}

TEST_F(SceneObjectMotion, EulerDegreesRollThenPitchThenYawInLocalSpace) {
    const auto rollPitchYaw = [](float x, float y, float z) {
        Ogre::Quaternion expected = Ogre::Quaternion::IDENTITY;
        expected = expected * Ogre::Quaternion(Ogre::Degree(z), Ogre::Vector3::UNIT_Z);
        expected = expected * Ogre::Quaternion(Ogre::Degree(x), Ogre::Vector3::UNIT_X);
        return expected * Ogre::Quaternion(Ogre::Degree(y), Ogre::Vector3::UNIT_Y);
    };
    node(box).setOrientation(Ogre::Quaternion(Ogre::Degree(33), Ogre::Vector3::UNIT_X));
    const float x = 30, y = 45, z = 60;
    box.setOrientationDegrees(x, y, z);
    EXPECT_TRUE(sameRotation(node(box).getOrientation(), rollPitchYaw(x, y, z)));
    // Another order of the same angles gives another orientation.
    EXPECT_FALSE(sameRotation(node(box).getOrientation(),
                              Ogre::Quaternion(Ogre::Degree(y), Ogre::Vector3::UNIT_Y) *
                                  Ogre::Quaternion(Ogre::Degree(x), Ogre::Vector3::UNIT_X) *
                                  Ogre::Quaternion(Ogre::Degree(z), Ogre::Vector3::UNIT_Z)));

    // Without the reset the turn adds to the orientation there is.
    box.rotateDegrees(x, y, z);
    EXPECT_TRUE(
        sameRotation(node(box).getOrientation(), rollPitchYaw(x, y, z) * rollPitchYaw(x, y, z)));

    const Ogre::Quaternion quarter(Ogre::Degree(90), Ogre::Vector3::UNIT_Y);
    box.setOrientation(FloatQuaternion{quarter.w, quarter.x, quarter.y, quarter.z});
    box.rotate(FloatQuaternion{quarter.w, quarter.x, quarter.y, quarter.z});
    const FloatQuaternion half = box.getOrientation();
    EXPECT_TRUE(sameRotation(Ogre::Quaternion(half.w, half.x, half.y, half.z),
                             Ogre::Quaternion(Ogre::Degree(180), Ogre::Vector3::UNIT_Y)));
}

TEST_F(SceneObjectMotion, MovementStopsOnTheTargetWhenAStepReachesIt) {
    box.setPosition(FloatVector3{9.5f, 0, 0});
    box.setVelocity(FloatVector3{1, 0, 0});
    box.setMoveTarget(FloatVector3{10, 0, 0});
    EXPECT_EQ(diagnosticsOf([&] { run(1, 1.0); }), "Entity Hit Target\n");
    expectVector(box.getPosition(), 10, 0, 0);
    expectVector(box.getVelocity(), 0, 0, 0);
    expectVector(FloatVector3{box.getMoveTarget().x, 0, 0}, 10, 0, 0);

    // Set going again while standing on the unchanged target: the next update ends it.
    box.setVelocity(FloatVector3{1, 0, 0});
    EXPECT_EQ(diagnosticsOf([&] { run(1, 0.25); }), "Entity Hit Target\n");
    expectVector(box.getPosition(), 10, 0, 0);

    // A step shorter than the way left is taken in full; one exactly as long reaches it.
    box.setPosition(FloatVector3{0, 0, 0});
    box.setVelocity(FloatVector3{0, 0, 4});
    box.setMoveTarget(FloatVector3{0, 0, 2});
    EXPECT_EQ(diagnosticsOf([&] { run(1, 0.25); }), "");
    expectVector(box.getPosition(), 0, 0, 1);
    EXPECT_EQ(diagnosticsOf([&] { run(1, 0.25); }), "Entity Hit Target\n");
    expectVector(box.getPosition(), 0, 0, 2);
}

TEST_F(SceneObjectMotion, AZeroTargetMeansNoneAndMovementIsInTheParentsSpace) {
    node(box).yaw(Ogre::Degree(90));
    box.setVelocity(FloatVector3{2, 0, 0});
    box.setMoveTarget(FloatVector3{0, 0, 0});
    EXPECT_EQ(diagnosticsOf([&] { run(100, 0.5); }), "");
    expectVector(box.getPosition(), 100, 0, 0);
    expectVector(box.getVelocity(), 2, 0, 0);
}

TEST_F(SceneObjectMotion, ATimedTurnEndsExactlyOnItsTargetOrientation) {
    // More than a half turn away: the shortest path goes to the target's negative.
    const Ogre::Quaternion to(Ogre::Degree(250), Ogre::Vector3(1, 2, 3).normalisedCopy());
    ASSERT_LT(to.w, 0.0f);
    const FloatQuaternion from{1, 0, 0, 0};
    box.startRotationSlerp(0.5f, from, FloatQuaternion{to.w, to.x, to.y, to.z});
    EXPECT_EQ(box.getSlerpProgress(), 0.0f);
    // Nothing turns before the first update.
    expectQuaternion(box.getOrientation(), 1, 0, 0, 0);

    run(1, 1.0);
    EXPECT_EQ(box.getSlerpProgress(), 0.5f);
    EXPECT_EQ(box.getSlerpRate(), 0.5f);
    EXPECT_TRUE(sameRotation(node(box).getOrientation(),
                             Ogre::Quaternion::Slerp(0.5f, Ogre::Quaternion::IDENTITY, to, true)));
    run(1, 1.0);
    EXPECT_EQ(box.getSlerpProgress(), 1.0f);
    EXPECT_EQ(box.getSlerpRate(), 0.0f);
    // The node keeps its orientation normalised.
    Ogre::Quaternion end = to;
    end.normalise();
    expectQuaternion(box.getOrientation(), end.w, end.x, end.y, end.z);

    // An ended turn no longer holds the node.
    box.setOrientationDegrees(0, 10, 0);
    run(1, 1.0);
    EXPECT_TRUE(sameRotation(node(box).getOrientation(),
                             Ogre::Quaternion(Ogre::Degree(10), Ogre::Vector3::UNIT_Y)));
}

TEST_F(SceneObjectMotion, TransformReportGoesToBothChannelsWithSixDecimalsAndTabs) {
    ::testing::internal::CaptureStdout();
    const std::string diagnostics = diagnosticsOf([&] { box.printTransform(); });
    const std::string output = ::testing::internal::GetCapturedStdout();
    const char expected[] = "relative:\n"
                            "position: 0.000000\t0.000000\t0.000000\n"
                            "rotation: 1.000000\t0.000000\t0.000000\t0.000000\n"
                            "absolute:\n"
                            "position: 0.000000\t0.000000\t0.000000\n"
                            "rotation: 1.000000\t0.000000\t0.000000\t0.000000\n";
    EXPECT_EQ(diagnostics, expected);
    EXPECT_EQ(output, expected);
}

TEST_F(SceneObjectMotion, TransformReportHoldsTheLongestNumbers) {
    Ogre::Node& parent = *engine.addNode("parent");
    parent.setPosition(1.5f, -2.25f, 0);
    parent.addChild(node(box).getParent()->removeChild(&node(box)));
    box.setPosition(FloatVector3{-FLT_MAX, FLT_MAX, -FLT_MAX});
    const std::string largest = "340282346638528859811704183484516925440.000000";
    ::testing::internal::CaptureStdout();
    const std::string diagnostics = diagnosticsOf([&] { box.printTransform(); });
    ::testing::internal::GetCapturedStdout();
    const std::string relative = "position: -" + largest + "\t" + largest + "\t-" + largest + "\n";
    EXPECT_EQ(diagnostics.substr(0, 10 + relative.size()), "relative:\n" + relative);
    const std::string worldRotation = "rotation: 1.000000\t0.000000\t0.000000\t0.000000\n";
    ASSERT_GT(diagnostics.size(), worldRotation.size());
    EXPECT_EQ(diagnostics.substr(diagnostics.size() - worldRotation.size()), worldRotation);
}

TEST_F(SceneObjectMotion, AnEntityThatHangsNowhereIsReportedAndNotMoved) {
    box.getEntity()->detachFromParent();
    box.setVelocity(FloatVector3{1, 0, 0});
    box.startRotationSlerp(1.0f, FloatQuaternion{1, 0, 0, 0}, FloatQuaternion{0, 0, 1, 0});
    EXPECT_EQ(diagnosticsOf([&] { run(1, 1.0); }), "");
    EXPECT_EQ(diagnosticsOf([&] { expectVector(box.getPosition(), 0, 0, 0); }),
              "SceneObjectControl::getPosition(): entity_box hangs on no node\n");
    EXPECT_EQ(diagnosticsOf([&] {
                  box.translate(FloatVector3{1, 0, 0});
              }),
              "SceneObjectControl::translate(): entity_box hangs on no node\n");
    EXPECT_EQ(diagnosticsOf([&] { box.printTransform(); }),
              "SceneObjectControl::printTransform(): entity_box hangs on no node\n");
}

} // namespace
} // namespace corvane::testing
