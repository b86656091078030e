#pragma once

#include <map>
#include <optional>
#include <string>

#include "framework/ISceneObject.h"

namespace Ogre {
class Animation;
class AnimationState;
class SceneManager;
class SceneNode;
} // namespace Ogre

namespace corvane {

class DiagnosticSink;
class TransformGuard;

// The control of a scene node's own animations (the node animations that the scene loader
// made from a file's "animations"), behind ISceneObject, so that a keyframe script names
// them as it names an entity's: the keyframe's entity is the node ("node_door"), the
// action's name the animation's name in the file ("open"). The animation slots act on the
// node's animations as they act on an entity's; an animation that the file enables plays
// from the start at rate 1. The node's place is its animations': the transform, motion and
// turn slots leave it alone (a keyframe sets them all, and would move the node), and the
// attachment slots, which concern entities, say so in one line.
class NodeAnimationControl final : public ISceneObject {
public:
    // Controls the animations (by their names in the file) of `node` in `sceneManager`;
    // lines go to `sink` (not owned), standard error when it is null.
    NodeAnimationControl(Ogre::SceneManager& sceneManager, Ogre::SceneNode& node,
                         const std::map<std::string, Ogre::Animation*>& animations,
                         DiagnosticSink* sink);
    ~NodeAnimationControl() override;
    NodeAnimationControl(const NodeAnimationControl&) = delete;
    NodeAnimationControl& operator=(const NodeAnimationControl&) = delete;

    // ISceneObject, slots 0 to 26 in their fixed order.
    void setAnimationRate(const std::string& anim, double rate) override;
    void setAnimationStopTime(const std::string& anim, double time) override;
    void stopAnimation(const std::string& anim) override;
    void setAnimationEnabled(const std::string& anim, bool enabled) override;
    void setAnimationLoop(const std::string& anim, bool loop) override;
    void setAnimationWeight(const std::string& anim, double weight) override;
    void setWeightSlideRate(const std::string& anim, double rate) override;
    void setWeightSlideTarget(const std::string& anim, double weight) override;
    void setAnimationTimePosition(const std::string& anim, double time) override;
    FloatVector3 getPosition() override;
    FloatVector3 getWorldPosition() override;
    void translate(const FloatVector3&) override {}
    void setPosition(const FloatVector3&) override {}
    void setVelocity(const FloatVector3&) override {}
    FloatVector3 getVelocity() override { return {0.0f, 0.0f, 0.0f}; }
    void setMoveTarget(const FloatVector3&) override {}
    FloatQuaternion getOrientation() override;
    void setOrientationDegrees(const float&, const float&, const float&) override {}
    void setOrientation(const FloatQuaternion&) override {}
    void rotateDegrees(const float&, const float&, const float&) override {}
    void rotate(const FloatQuaternion&) override {}
    void startRotationSlerp(const float&, const FloatQuaternion&, const FloatQuaternion&) override {
    }
    // Nothing: the node's place changes with every frame of its animations.
    void printTransform() override {}
    void attachToBone(const std::string& bone, ISceneObject* other,
                      const FloatQuaternion& offsetOrientation,
                      const FloatVector3& offsetPosition) override;
    void detachFromBone(const std::string& objectName) override;
    void attachToSceneNode(const std::string& nodeName) override;
    const std::string& getName() override { return name; }

    // One step of `seconds` (already scaled by the viewer's time scale) of every animation
    // that plays, with stop times and weight slides.
    void update(double seconds);
    // Every animation plays again as the file says (enabled ones at rate 1), with no stop
    // time or slide; the animations' own times and weights are left as they are.
    void resetMotion();

private:
    struct Motion {
        Ogre::AnimationState* state;
        bool playsAtLoad;
        float rate;
        std::optional<float> stopTime;
        std::optional<float> slideRate;
        std::optional<float> weightTarget;
    };

    // The animation's motion, or null after one line.
    Motion* find(const char* operation, const std::string& anim);
    void report(const char* operation, const std::string& text) const;
    TransformGuard guard() const;

    Ogre::SceneNode& node;
    std::string name;
    DiagnosticSink* sink;
    std::map<std::string, Motion> motions;
};

} // namespace corvane
