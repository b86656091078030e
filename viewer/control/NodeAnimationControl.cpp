#include "viewer/control/NodeAnimationControl.h"

#include <OgreAnimation.h>
#include <OgreAnimationState.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <cmath>

#include "viewer/control/AnimationLimit.h"
#include "viewer/control/TransformGuard.h"

namespace corvane {

namespace {

const char* const OWNER = "NodeAnimationControl";

FloatVector3 toFloat(const Ogre::Vector3& value) {
    return {value.x, value.y, value.z};
}

} // namespace

NodeAnimationControl::NodeAnimationControl(
    Ogre::SceneManager& sceneManager, Ogre::SceneNode& node,
    const std::map<std::string, Ogre::Animation*>& animations, DiagnosticSink* sink)
    : node(node), name(node.getName()), sink(sink) {
    for (const auto& [anim, animation] : animations) {
        Ogre::AnimationState* state = sceneManager.getAnimationState(animation->getName());
        const bool plays = state->getEnabled();
        motions.emplace(anim, Motion{state, plays, plays ? 1.0f : 0.0f, {}, {}, {}});
    }
}

NodeAnimationControl::~NodeAnimationControl() = default;

void NodeAnimationControl::setAnimationRate(const std::string& anim, double rate) {
    Motion* motion = find("setAnimationRate", anim);
    if (motion == nullptr || !guard().admits("setAnimationRate", "rate", rate))
        return;
    motion->state->setEnabled(true);
    motion->rate = static_cast<float>(rate);
}

void NodeAnimationControl::setAnimationStopTime(const std::string& anim, double time) {
    Motion* motion = find("setAnimationStopTime", anim);
    if (motion == nullptr || !guard().admits("setAnimationStopTime", "time", time))
        return;
    motion->stopTime = time >= 0.0 ? std::optional<float>(static_cast<float>(time)) : std::nullopt;
}

void NodeAnimationControl::stopAnimation(const std::string& anim) {
    if (Motion* motion = find("stopAnimation", anim)) {
        motion->state->setEnabled(false);
        motion->rate = 0.0f;
    }
}

void NodeAnimationControl::setAnimationEnabled(const std::string& anim, bool enabled) {
    if (Motion* motion = find("setAnimationEnabled", anim))
        motion->state->setEnabled(enabled);
}

void NodeAnimationControl::setAnimationLoop(const std::string& anim, bool loop) {
    if (Motion* motion = find("setAnimationLoop", anim))
        motion->state->setLoop(loop);
}

void NodeAnimationControl::setAnimationWeight(const std::string& anim, double weight) {
    Motion* motion = find("setAnimationWeight", anim);
    if (motion != nullptr && guard().admits("setAnimationWeight", "weight", weight))
        motion->state->setWeight(static_cast<float>(weight));
}

void NodeAnimationControl::setWeightSlideRate(const std::string& anim, double rate) {
    Motion* motion = find("setWeightSlideRate", anim);
    if (motion != nullptr && guard().admits("setWeightSlideRate", "rate", rate))
        motion->slideRate =
            rate != 0.0 ? std::optional<float>(static_cast<float>(rate)) : std::nullopt;
}

void NodeAnimationControl::setWeightSlideTarget(const std::string& anim, double weight) {
    Motion* motion = find("setWeightSlideTarget", anim);
    if (motion != nullptr && guard().admits("setWeightSlideTarget", "weight", weight))
        motion->weightTarget = static_cast<float>(weight);
}

void NodeAnimationControl::setAnimationTimePosition(const std::string& anim, double time) {
    Motion* motion = find("setAnimationTimePosition", anim);
    if (motion != nullptr && guard().admits("setAnimationTimePosition", "time", time))
        motion->state->setTimePosition(static_cast<float>(time));
}

FloatVector3 NodeAnimationControl::getPosition() {
    return toFloat(node.getPosition());
}

FloatVector3 NodeAnimationControl::getWorldPosition() {
    return toFloat(node._getDerivedPosition());
}

FloatQuaternion NodeAnimationControl::getOrientation() {
    const Ogre::Quaternion& orientation = node.getOrientation();
    return {orientation.w, orientation.x, orientation.y, orientation.z};
}

void NodeAnimationControl::attachToBone(const std::string& bone, ISceneObject*,
                                        const FloatQuaternion&, const FloatVector3&) {
    report("attachToBone", name + " is a scene node, which has no bone \"" + bone + "\"");
}

void NodeAnimationControl::detachFromBone(const std::string& objectName) {
    report("detachFromBone",
           name + " is a scene node, which has no object \"" + objectName + "\" on its bones");
}

void NodeAnimationControl::attachToSceneNode(const std::string& nodeName) {
    report("attachToSceneNode",
           name + " is a scene node, which is not attached to \"" + nodeName + "\"");
}

void NodeAnimationControl::update(double seconds) {
    for (auto& [anim, motion] : motions) {
        Ogre::AnimationState& state = *motion.state;
        if (motion.rate != 0.0f && state.getEnabled()) {
            const auto step = static_cast<float>(motion.rate * seconds);
            if (motion.stopTime && AnimationLimit::passesStop(step, state.getTimePosition() + step,
                                                              *motion.stopTime)) {
                state.setTimePosition(*motion.stopTime);
                motion.rate = 0.0f;
                motion.stopTime.reset();
            } else if (std::isfinite(step)) {
                state.addTime(step);
            }
        }
        if (motion.slideRate) {
            const float rate = *motion.slideRate;
            float weight = static_cast<float>(rate * seconds + state.getWeight());
            if (motion.weightTarget &&
                AnimationLimit::reachesTarget(rate, weight, *motion.weightTarget)) {
                weight = *motion.weightTarget;
                motion.slideRate.reset();
            }
            if (std::isfinite(weight))
                state.setWeight(weight);
        }
    }
}

void NodeAnimationControl::resetMotion() {
    for (auto& [anim, motion] : motions)
        motion =
            Motion{motion.state, motion.playsAtLoad, motion.playsAtLoad ? 1.0f : 0.0f, {}, {}, {}};
}

NodeAnimationControl::Motion* NodeAnimationControl::find(const char* operation,
                                                         const std::string& anim) {
    const auto found = motions.find(anim);
    if (found != motions.end())
        return &found->second;
    report(operation, name + " has no animation \"" + anim + "\"");
    return nullptr;
}

void NodeAnimationControl::report(const char* operation, const std::string& text) const {
    guard().report(operation, text);
}

TransformGuard NodeAnimationControl::guard() const {
    return TransformGuard(OWNER, name, nullptr, sink);
}

} // namespace corvane
