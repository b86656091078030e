#pragma once

#include <map>
#include <optional>
#include <string>

#include <OgreMovableObject.h>
#include <OgreQuaternion.h>
#include <OgreVector.h>

#include "framework/ISceneObject.h"
#include "viewer/control/TransformGuard.h"

namespace Ogre {
class AnimationState;
class AnimationStateSet;
class Entity;
class Node;
class SceneManager;
} // namespace Ogre

namespace corvane {

// The control of one entity of the scene, behind ISceneObject. Transform operations act
// on the entity's parent node at once; rates, slides, velocity and timed turn are stored
// and applied by `update`, once per frame. A name the entity does not know (animation,
// bone, attached object) or a scene node that does not exist gets one diagnostic line and
// changes nothing.
class SceneObjectControl final : public ISceneObject, private Ogre::MovableObject::Listener {
public:
    // Controls `entity` (not owned) of `sceneManager` (not owned), where scene nodes are
    // looked up by name. Lines go to `sink` (not owned), standard error when it is null.
    SceneObjectControl(Ogre::Entity* entity, Ogre::SceneManager* sceneManager,
                       DiagnosticSink* sink = nullptr);
    ~SceneObjectControl() override;
    SceneObjectControl(const SceneObjectControl&) = delete;
    SceneObjectControl& operator=(const SceneObjectControl&) = delete;

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
    void translate(const FloatVector3& offset) override;
    void setPosition(const FloatVector3& position) override;
    void setVelocity(const FloatVector3& velocity) override;
    FloatVector3 getVelocity() override;
    void setMoveTarget(const FloatVector3& target) override;
    FloatQuaternion getOrientation() override;
    void setOrientationDegrees(const float& x, const float& y, const float& z) override;
    void setOrientation(const FloatQuaternion& orientation) override;
    void rotateDegrees(const float& x, const float& y, const float& z) override;
    void rotate(const FloatQuaternion& rotation) override;
    void startRotationSlerp(const float& rate, const FloatQuaternion& from,
                            const FloatQuaternion& to) override;
    void printTransform() override;
    void attachToBone(const std::string& bone, ISceneObject* other,
                      const FloatQuaternion& offsetOrientation,
                      const FloatVector3& offsetPosition) override;
    void detachFromBone(const std::string& objectName) override;
    void attachToSceneNode(const std::string& nodeName) override;
    const std::string& getName() override;

    // One step of `seconds` (already scaled by the viewer's time scale): animation time
    // with stop times, weight slides, movement towards the target, timed turn. Reaching
    // the target writes its line only when `reportTargets`. `pass`, when the step is one of
    // a pass over every object, is what the checks of the pass share.
    void update(double seconds, bool reportTargets = true, TransformGuard::Pass* pass = nullptr);

    // Forgets every stored rate, stop time, slide, target, velocity and turn, as on the day
    // the control was made; the scene itself is left as it is.
    void resetMotion();

    // Controls `entity` from now on, keeping every stored rate and motion: for an entity
    // made anew under the name of one that was destroyed.
    void rebind(Ogre::Entity* entity);
    // The controlled entity; null once the engine has destroyed it.
    Ogre::Entity* getEntity() const { return entity; }

    // The stored rates, stop times, slide rates and slide targets, by animation name.
    std::map<std::string, float> getAnimationRates() const;
    std::map<std::string, float> getAnimationStopTimes() const;
    std::map<std::string, float> getWeightSlideRates() const;
    std::map<std::string, float> getWeightTargets() const;
    const Ogre::Vector3& getMoveTarget() const { return moveTarget; }
    float getSlerpRate() const { return slerpRate; }
    float getSlerpProgress() const { return slerpProgress; }

private:
    // What is stored for one animation. Kept together so that a frame looks the animation
    // up once for all of it: the lookups by name are most of a frame's cost.
    struct AnimationMotion {
        std::optional<float> rate;
        std::optional<float> stopTime;
        std::optional<float> slideRate;
        std::optional<float> weightTarget;
    };
    using Motions = std::map<std::string, AnimationMotion>;

    void objectDestroyed(Ogre::MovableObject* object) override;
    // Forgets the animation's entry once nothing is stored for it.
    void forgetIfIdle(Motions::iterator entry);
    // One field of every animation's motion that has it.
    std::map<std::string, float> collect(std::optional<float> AnimationMotion::*field) const;

    // The entity's animation state of that name; null when it has none.
    Ogre::AnimationState* stateOf(const std::string& anim) const;
    static Ogre::AnimationState* stateIn(const Ogre::AnimationStateSet& states,
                                         const std::string& anim);
    // The entity's animation state of that name, or null after one diagnostic line.
    Ogre::AnimationState* findAnimation(const char* operation, const std::string& anim) const;
    // Whether the entity still exists, after one diagnostic line when it does not.
    bool entityExists(const char* operation) const;
    // The node the transform operations act on, or null after one diagnostic line.
    Ogre::Node* findNode(const char* operation) const;
    // Checks values before they reach the engine, in lines that name this object.
    TransformGuard guard(TransformGuard::Pass* pass = nullptr) const;
    // One line "SceneObjectControl::<operation>(): <text>".
    void report(const char* operation, const std::string& text) const;
    // The steps of `update` for one animation: its time, then its weight.
    void advance(Ogre::AnimationState& state, const std::string& anim, AnimationMotion& motion,
                 double seconds);
    void slide(Ogre::AnimationState& state, const std::string& anim, AnimationMotion& motion,
               double seconds);
    void move(Ogre::Node& node, double seconds, bool reportTargets, TransformGuard::Pass* pass);
    void turn(Ogre::Node& node, double seconds, TransformGuard::Pass* pass);
    // Takes `movable` off its scene node or the bone it hangs on.
    static void detachFromParent(Ogre::Entity& movable);

    Ogre::Entity* entity;
    Motions motions;
    Ogre::Vector3 velocity = Ogre::Vector3::ZERO;
    Ogre::Vector3 moveTarget = Ogre::Vector3::ZERO;
    Ogre::Quaternion slerpFrom = Ogre::Quaternion::IDENTITY;
    Ogre::Quaternion slerpTo = Ogre::Quaternion::IDENTITY;
    float slerpRate = 0.0f;
    float slerpProgress = 0.0f;
    Ogre::SceneManager* sceneManager;
    // The entity's name, kept for diagnostics after the entity is gone.
    std::string name;
    // Whether this control is the entity's listener, told of its destruction.
    bool listening = false;
    DiagnosticSink* sink;
};

} // namespace corvane
