#include "tools/FigureModel.h"

#include <OgreBone.h>

#include "tools/MeshBuilder.h"
#include "tools/SkeletonBuilder.h"

namespace corvane::tools {

namespace {

// Heights of the joints above the feet.
constexpr float HIP_HEIGHT = 8.0f;
constexpr float NECK_HEIGHT = 14.0f;
constexpr float SHOULDER_HEIGHT = 13.5f;
constexpr float UPPER_ARM_LENGTH = 5.0f;
constexpr float HAND_LENGTH = 1.5f;
constexpr float HEIGHT = 18.0f;
constexpr float SHOULDER_X = 2.8f;
constexpr float HIP_X = 1.0f;

const Ogre::Vector3 SIDEWAYS = Ogre::Vector3::UNIT_X; // legs and arms swing about it
const Ogre::Vector3 FORWARD = Ogre::Vector3::UNIT_Z;  // the waving arm turns about it

} // namespace

Ogre::SkeletonPtr FigureModel::makeSkeleton() {
    SkeletonBuilder builder("figure.skeleton");
    builder.addBone("Root", "", Ogre::Vector3::ZERO);
    builder.addBone("Spine", "Root", {0, HIP_HEIGHT, 0});
    builder.addBone("Head", "Spine", {0, NECK_HEIGHT - HIP_HEIGHT, 0});
    builder.addBone("Arm.L", "Spine", {SHOULDER_X, SHOULDER_HEIGHT - HIP_HEIGHT, 0});
    builder.addBone("Arm.R", "Spine", {-SHOULDER_X, SHOULDER_HEIGHT - HIP_HEIGHT, 0});
    builder.addBone("Hand.L", "Arm.L", {0, -UPPER_ARM_LENGTH, 0});
    builder.addBone("Hand.R", "Arm.R", {0, -UPPER_ARM_LENGTH, 0});
    builder.addBone("Leg.L", "Root", {HIP_X, HIP_HEIGHT, 0});
    builder.addBone("Leg.R", "Root", {-HIP_X, HIP_HEIGHT, 0});

    // Walk: each leg swings 25 degrees forward and back, each arm 20 degrees against the
    // leg of its side; the last key equals the first so that the loop is seamless.
    builder.addAnimation("Walk", 1.0f);
    const float stride[] = {0.0f, 1.0f, 0.0f, -1.0f, 0.0f};
    for (int key = 0; key < 5; ++key) {
        const float time = 0.25f * static_cast<float>(key);
        builder.addTurn("Walk", "Leg.L", time, SIDEWAYS, -25.0f * stride[key]);
        builder.addTurn("Walk", "Leg.R", time, SIDEWAYS, 25.0f * stride[key]);
        builder.addTurn("Walk", "Arm.L", time, SIDEWAYS, 20.0f * stride[key]);
        builder.addTurn("Walk", "Arm.R", time, SIDEWAYS, -20.0f * stride[key]);
    }

    // Wave: the right arm rises out to the side and overhead in half a second, the hand
    // waves for a second, and the arm comes down again.
    builder.addAnimation("Wave", 2.0f);
    const float armDegrees[][2] = {{0.0f, 0.0f}, {0.5f, -150.0f}, {1.5f, -150.0f}, {2.0f, 0.0f}};
    for (const auto& key : armDegrees)
        builder.addTurn("Wave", "Arm.R", key[0], FORWARD, key[1]);
    const float handDegrees[][2] = {{0.0f, 0.0f},   {0.5f, 0.0f}, {0.75f, 30.0f}, {1.0f, -30.0f},
                                    {1.25f, 30.0f}, {1.5f, 0.0f}, {2.0f, 0.0f}};
    for (const auto& key : handDegrees)
        builder.addTurn("Wave", "Hand.R", key[0], FORWARD, key[1]);

    return builder.finish();
}

Ogre::MeshPtr FigureModel::makeMesh(Ogre::SkeletonPtr skeleton) {
    MeshBuilder builder;
    builder.beginSubMesh("Corvane/Figure");
    const auto bone = [&skeleton](const char* name) {
        return skeleton->getBone(name)->getHandle();
    };

    builder.setBone(bone("Spine"));
    builder.addBox({-2.0f, HIP_HEIGHT, -1.2f}, {2.0f, NECK_HEIGHT, 1.2f});
    builder.setBone(bone("Head"));
    builder.addBox({-1.5f, NECK_HEIGHT + 0.3f, -1.5f}, {1.5f, HEIGHT, 1.5f});
    // A nose, so that one sees which way the figure faces.
    builder.addBox({-0.3f, 15.8f, 1.5f}, {0.3f, 16.6f, 2.1f});

    for (const float side : {1.0f, -1.0f}) {
        const char* const arm = side > 0 ? "Arm.L" : "Arm.R";
        const char* const hand = side > 0 ? "Hand.L" : "Hand.R";
        const char* const leg = side > 0 ? "Leg.L" : "Leg.R";
        const float armX = side * SHOULDER_X;
        const float elbowY = SHOULDER_HEIGHT - UPPER_ARM_LENGTH;
        builder.setBone(bone(arm));
        builder.addBox({armX - 0.6f, elbowY, -0.6f}, {armX + 0.6f, SHOULDER_HEIGHT, 0.6f});
        builder.setBone(bone(hand));
        builder.addBox({armX - 0.5f, elbowY - HAND_LENGTH, -0.5f}, {armX + 0.5f, elbowY, 0.5f});
        builder.setBone(bone(leg));
        const float legX = side * HIP_X;
        builder.addBox({legX - 0.8f, 0.0f, -0.8f}, {legX + 0.8f, HIP_HEIGHT, 0.8f});
    }

    // The waving arm reaches above the head.
    builder.includeInBounds(Ogre::AxisAlignedBox(-10.0f, 0.0f, -6.0f, 10.0f, 22.0f, 6.0f));
    return builder.build("figure.mesh", skeleton);
}

} // namespace corvane::tools
