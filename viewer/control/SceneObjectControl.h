#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <OgreAlignedAllocator.h>
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
class alignas(64) SceneObjectControl final : public ISceneObject,
                                             private Ogre::MovableObject::Listener {
public:
    // The names of the animations that controls store something for, one string for each
    // name, shared by every control of a registry: a frame reads a name for each animation it
    // looks up, and many objects play animations of the same names.
    using AnimationNames = std::set<std::string, std::less<>>;

    // Controls `entity` (not owned) of `sceneManager` (not owned), where scene nodes are
    // looked up by name; the names of its animations are kept in `animationNames`, which
    // must outlive the control. Lines go to `sink` (not owned), standard error when it is
    // null.
    SceneObjectControl(Ogre::Entity* entity, Ogre::SceneManager* sceneManager,
                       AnimationNames& animationNames, DiagnosticSink* sink = nullptr);
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
    // One pass: `update` of each of `controls` in turn, whose checks share what they learn.
    static void updateEach(const std::vector<SceneObjectControl*>& controls, double seconds,
                           bool reportTargets);

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
    // up once for all of it: a lookup by name costs more than anything else of ours in it.
    struct AnimationMotion {
        // Which of the four numbers are stored.
        enum Stored : std::uint8_t { RATE = 1, STOP_TIME = 2, SLIDE_RATE = 4, WEIGHT_TARGET = 8 };

        const std::string* anim;
        float rate = 0.0f;
        float stopTime = 0.0f;
        float slideRate = 0.0f;
        float weightTarget = 0.0f;
        std::uint8_t stored = 0;

        bool has(Stored number) const { return (stored & number) != 0; }
        void set(Stored number, float& field, float value) {
            field = value;
            stored |= number;
        }
        void forget(Stored number) { stored &= static_cast<std::uint8_t>(~number); }
    };
    // In ascending name order, in one block that a frame reads front to back: a tree's nodes,
    // each in a place of its own, took the processor's caches a line or two each. The block
    // starts a cache line, so that two entries, the most that most objects play at once, lie
    // on one.
    using Motions = std::vector<AnimationMotion, Ogre::AlignedAllocator<AnimationMotion, 64>>;

    // Asks the processor for what `update` reads of this control, ahead of its turn in a pass:
    // first the control's own fields, then, once those have come, its animations. The
    // controls lie wherever they were made, and waiting for each in turn took more of a pass
    // than all the checks of its values.
    void prefetch() const {
        __builtin_prefetch(this);
        __builtin_prefetch(&velocity);
        __builtin_prefetch(reinterpret_cast<const char*>(&slerpTo + 1) - 1);
    }
    void prefetchAnimations() const {
        if (!motions.empty())
            __builtin_prefetch(motions.data());
    }

    // The body of `update`.
    void step(double seconds, bool reportTargets, TransformGuard::Pass* pass);
    void objectDestroyed(Ogre::MovableObject* object) override;
    // The entry of `anim`, or the end.
    Motions::iterator findMotion(const std::string& anim);
    // The entry of `anim`, made empty when there is none.
    AnimationMotion& motionOf(const std::string& anim);
    // The order of `motions`.
    static bool namedBefore(const AnimationMotion& motion, const std::string& anim);
    // Forgets the animation's entry once nothing is stored for it.
    void forgetIfIdle(Motions::iterator entry);
    // One number of every animation's motion that has it stored.
    std::map<std::string, float> collect(AnimationMotion::Stored number,
                                         float AnimationMotion::*field) const;

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
    // The steps of `update`: for one animation its time, then its weight; then the node's
    // movement and turn. `checks` are those of the pass.
    void advance(Ogre::AnimationState& state, AnimationMotion& motion, double seconds,
                 const TransformGuard& checks);
    void slide(Ogre::AnimationState& state, AnimationMotion& motion, double seconds,
               const TransformGuard& checks);
    void move(Ogre::Node& node, double seconds, bool reportTargets, const TransformGuard& checks);
    void turn(Ogre::Node& node, double seconds, const TransformGuard& checks);
    // Takes `movable` off its scene node or the bone it hangs on.
    static void detachFromParent(Ogre::Entity& movable);

    // What every frame reads comes first: the control starts a cache line (the class is
    // aligned to one), and these fill two.
    Ogre::Entity* entity;
    Motions motions;
    Ogre::Vector3 velocity = Ogre::Vector3::ZERO;
    Ogre::Vector3 moveTarget = Ogre::Vector3::ZERO;
    float slerpRate = 0.0f;
    float slerpProgress = 0.0f;
    Ogre::Quaternion slerpFrom = Ogre::Quaternion::IDENTITY;
    Ogre::Quaternion slerpTo = Ogre::Quaternion::IDENTITY;
    Ogre::SceneManager* sceneManager;
    AnimationNames* animationNames;
    // The entity's name, kept for diagnostics after the entity is gone.
    std::string name;
    // Whether this control is the entity's listener, told of its destruction.
    bool listening = false;
    DiagnosticSink* sink;
};

} // namespace corvane
