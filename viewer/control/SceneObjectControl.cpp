#include "viewer/control/SceneObjectControl.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <string_view>

#include <OgreAnimationState.h>
#include <OgreEntity.h>
#include <OgreException.h>
#include <OgreMath.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <OgreSkeletonInstance.h>
#include <OgreTagPoint.h>

#include "platform/DebugOutput.h"
#include "viewer/control/AnimationLimit.h"
#include "viewer/control/TransformGuard.h"

namespace corvane {

namespace {

Ogre::Vector3 toOgre(const FloatVector3& value) {
    return Ogre::Vector3(value.x, value.y, value.z);
}

Ogre::Quaternion toOgre(const FloatQuaternion& value) {
    return Ogre::Quaternion(value.w, value.x, value.y, value.z);
}

FloatVector3 toFloat(const Ogre::Vector3& value) {
    return FloatVector3{value.x, value.y, value.z};
}

FloatQuaternion toFloat(const Ogre::Quaternion& value) {
    return FloatQuaternion{value.w, value.x, value.y, value.z};
}

// The engine's own vector operations run as loops over the parts; these few run for every
// moving object in every frame.
bool isZero(const Ogre::Vector3& value) {
    return value.x == 0.0f && value.y == 0.0f && value.z == 0.0f;
}

float lengthSquared(float x, float y, float z) {
    return x * x + y * y + z * z;
}

float distanceSquared(const Ogre::Vector3& a, const Ogre::Vector3& b) {
    return lengthSquared(a.x - b.x, a.y - b.y, a.z - b.z);
}

std::string quoted(const std::string& text) {
    return '"' + text + '"';
}

// Roll z, pitch x, yaw y degrees, each about the node's own axes.
void rollPitchYaw(Ogre::Node& node, float x, float y, float z) {
    node.roll(Ogre::Radian(Ogre::Math::DegreesToRadians(z)), Ogre::Node::TS_LOCAL);
    node.pitch(Ogre::Radian(Ogre::Math::DegreesToRadians(x)), Ogre::Node::TS_LOCAL);
    node.yaw(Ogre::Radian(Ogre::Math::DegreesToRadians(y)), Ogre::Node::TS_LOCAL);
}

constexpr char TRANSFORM_REPORT[] = "relative:\n"
                                    "position: %f\t%f\t%f\n"
                                    "rotation: %f\t%f\t%f\t%f\n"
                                    "absolute:\n"
                                    "position: %f\t%f\t%f\n"
                                    "rotation: %f\t%f\t%f\t%f\n";
constexpr std::size_t REPORTED_NUMBERS = 14;
// "%f" of a float widened to double: a sign, up to 39 integer digits, the point and six
// decimals; infinities and NaN are shorter.
constexpr std::size_t LONGEST_NUMBER = 1 + (std::numeric_limits<float>::max_exponent10 + 1) + 1 + 6;
constexpr std::size_t REPORT_CAPACITY =
    sizeof(TRANSFORM_REPORT) - 2 * REPORTED_NUMBERS + REPORTED_NUMBERS * LONGEST_NUMBER;

} // namespace

SceneObjectControl::SceneObjectControl(Ogre::Entity* entity, Ogre::SceneManager* sceneManager,
                                       AnimationNames& animationNames, DiagnosticSink* sink)
    : entity(nullptr), sceneManager(sceneManager), animationNames(&animationNames), sink(sink) {
    rebind(entity);
}

SceneObjectControl::~SceneObjectControl() {
    if (entity && listening)
        entity->setListener(nullptr);
}

void SceneObjectControl::rebind(Ogre::Entity* newEntity) {
    if (entity && listening)
        entity->setListener(nullptr);
    entity = newEntity;
    name = entity->getName();
    // Told when the engine destroys the entity, so that no later call reaches it. An entity
    // that already has a listener keeps it.
    listening = !entity->getListener();
    if (listening)
        entity->setListener(this);
}

void SceneObjectControl::objectDestroyed(Ogre::MovableObject* object) {
    if (object == entity)
        entity = nullptr;
}

// --- Animations -----------------------------------------------------------------------

void SceneObjectControl::setAnimationRate(const std::string& anim, double rate) {
    if (!findAnimation("setAnimationRate", anim) ||
        !guard().admits("setAnimationRate", "rate", rate))
        return;
    setAnimationEnabled(anim, true);
    // A first rate is stored even when it is 0; a later 0 forgets the rate.
    const auto entry = findMotion(anim);
    if (entry == motions.end() || !entry->has(AnimationMotion::RATE)) {
        AnimationMotion& motion = motionOf(anim);
        motion.set(AnimationMotion::RATE, motion.rate, static_cast<float>(rate));
    } else if (rate == 0.0) {
        entry->forget(AnimationMotion::RATE);
        forgetIfIdle(entry);
    } else {
        entry->rate = static_cast<float>(rate);
    }
}

void SceneObjectControl::setAnimationStopTime(const std::string& anim, double time) {
    if (!findAnimation("setAnimationStopTime", anim) ||
        !guard().admits("setAnimationStopTime", "time", time))
        return;
    if (time >= 0.0) {
        AnimationMotion& motion = motionOf(anim);
        motion.set(AnimationMotion::STOP_TIME, motion.stopTime, static_cast<float>(time));
    } else if (const auto entry = findMotion(anim); entry != motions.end()) {
        entry->forget(AnimationMotion::STOP_TIME);
        forgetIfIdle(entry);
    }
}

void SceneObjectControl::stopAnimation(const std::string& anim) {
    if (!findAnimation("stopAnimation", anim))
        return;
    setAnimationEnabled(anim, false);
    if (const auto entry = findMotion(anim); entry != motions.end()) {
        entry->forget(AnimationMotion::RATE);
        forgetIfIdle(entry);
    }
}

void SceneObjectControl::setAnimationEnabled(const std::string& anim, bool enabled) {
    if (Ogre::AnimationState* state = findAnimation("setAnimationEnabled", anim))
        state->setEnabled(enabled);
}

void SceneObjectControl::setAnimationLoop(const std::string& anim, bool loop) {
    if (Ogre::AnimationState* state = findAnimation("setAnimationLoop", anim))
        state->setLoop(loop);
}

void SceneObjectControl::setAnimationWeight(const std::string& anim, double weight) {
    Ogre::AnimationState* state = findAnimation("setAnimationWeight", anim);
    if (state && guard().admits("setAnimationWeight", "weight", weight))
        state->setWeight(static_cast<float>(weight));
}

void SceneObjectControl::setWeightSlideRate(const std::string& anim, double rate) {
    if (!findAnimation("setWeightSlideRate", anim) ||
        !guard().admits("setWeightSlideRate", "rate", rate))
        return;
    if (rate != 0.0) {
        AnimationMotion& motion = motionOf(anim);
        motion.set(AnimationMotion::SLIDE_RATE, motion.slideRate, static_cast<float>(rate));
    } else if (const auto entry = findMotion(anim); entry != motions.end()) {
        entry->forget(AnimationMotion::SLIDE_RATE);
        forgetIfIdle(entry);
    }
}

void SceneObjectControl::setWeightSlideTarget(const std::string& anim, double weight) {
    if (!findAnimation("setWeightSlideTarget", anim) ||
        !guard().admits("setWeightSlideTarget", "weight", weight))
        return;
    AnimationMotion& motion = motionOf(anim);
    motion.set(AnimationMotion::WEIGHT_TARGET, motion.weightTarget, static_cast<float>(weight));
}

void SceneObjectControl::setAnimationTimePosition(const std::string& anim, double time) {
    Ogre::AnimationState* state = findAnimation("setAnimationTimePosition", anim);
    if (state && guard().admits("setAnimationTimePosition", "time", time))
        state->setTimePosition(static_cast<float>(time));
}

// --- Transform ------------------------------------------------------------------------

FloatVector3 SceneObjectControl::getPosition() {
    const Ogre::Node* node = findNode("getPosition");
    return toFloat(node ? node->getPosition() : Ogre::Vector3::ZERO);
}

FloatVector3 SceneObjectControl::getWorldPosition() {
    Ogre::Node* node = findNode("getWorldPosition");
    return toFloat(node ? node->_getDerivedPosition() : Ogre::Vector3::ZERO);
}

void SceneObjectControl::translate(const FloatVector3& offset) {
    const Ogre::Vector3 value = toOgre(offset);
    Ogre::Node* node = findNode("translate");
    if (node && guard().admits("translate", value))
        guard().places("translate", *node, [&] { node->translate(value, Ogre::Node::TS_LOCAL); });
}

void SceneObjectControl::setPosition(const FloatVector3& position) {
    const Ogre::Vector3 value = toOgre(position);
    Ogre::Node* node = findNode("setPosition");
    if (node && guard().admits("setPosition", value))
        guard().places("setPosition", *node, [&] { node->setPosition(value); });
}

void SceneObjectControl::setVelocity(const FloatVector3& newVelocity) {
    if (guard().admits("setVelocity", toOgre(newVelocity)))
        velocity = toOgre(newVelocity);
}

FloatVector3 SceneObjectControl::getVelocity() {
    return toFloat(velocity);
}

void SceneObjectControl::setMoveTarget(const FloatVector3& target) {
    if (guard().admits("setMoveTarget", toOgre(target)))
        moveTarget = toOgre(target);
}

FloatQuaternion SceneObjectControl::getOrientation() {
    const Ogre::Node* node = findNode("getOrientation");
    return toFloat(node ? node->getOrientation() : Ogre::Quaternion::IDENTITY);
}

void SceneObjectControl::setOrientationDegrees(const float& x, const float& y, const float& z) {
    Ogre::Node* node = findNode("setOrientationDegrees");
    if (node && guard().admitsDegrees("setOrientationDegrees", x, y, z))
        guard().turns("setOrientationDegrees", *node, [&] {
            node->resetOrientation();
            rollPitchYaw(*node, x, y, z);
        });
}

void SceneObjectControl::setOrientation(const FloatQuaternion& orientation) {
    if (Ogre::Node* node = findNode("setOrientation"))
        guard().orients("setOrientation", *node, toOgre(orientation));
}

void SceneObjectControl::rotateDegrees(const float& x, const float& y, const float& z) {
    Ogre::Node* node = findNode("rotateDegrees");
    if (node && guard().admitsDegrees("rotateDegrees", x, y, z))
        guard().turns("rotateDegrees", *node, [&] { rollPitchYaw(*node, x, y, z); });
}

void SceneObjectControl::rotate(const FloatQuaternion& rotation) {
    const Ogre::Quaternion value = toOgre(rotation);
    Ogre::Node* node = findNode("rotate");
    if (node && guard().admits("rotate", value))
        guard().turns("rotate", *node, [&] { node->rotate(value, Ogre::Node::TS_LOCAL); });
}

void SceneObjectControl::startRotationSlerp(const float& rate, const FloatQuaternion& from,
                                            const FloatQuaternion& to) {
    // Only a positive rate turns an object.
    if (!guard().admitsTurn("startRotationSlerp", rate, rate > 0.0f, toOgre(from), toOgre(to)))
        return;
    slerpProgress = 0.0f;
    slerpRate = rate;
    slerpFrom = toOgre(from);
    slerpTo = toOgre(to);
}

void SceneObjectControl::printTransform() {
    Ogre::Node* node = findNode("printTransform");
    if (!node)
        return;
    const Ogre::Vector3& position = node->getPosition();
    const Ogre::Quaternion& orientation = node->getOrientation();
    const Ogre::Vector3& worldPosition = node->_getDerivedPosition();
    const Ogre::Quaternion& worldOrientation = node->_getDerivedOrientation();
    char text[REPORT_CAPACITY];
    const int length = std::snprintf(
        text, sizeof(text), TRANSFORM_REPORT, double(position.x), double(position.y),
        double(position.z), double(orientation.w), double(orientation.x), double(orientation.y),
        double(orientation.z), double(worldPosition.x), double(worldPosition.y),
        double(worldPosition.z), double(worldOrientation.w), double(worldOrientation.x),
        double(worldOrientation.y), double(worldOrientation.z));
    if (length < 0)
        return;
    const std::size_t written = std::min(static_cast<std::size_t>(length), sizeof(text) - 1);
    DebugOutput::write(std::string_view(text, written));
    std::fwrite(text, 1, written, stdout);
    std::fflush(stdout);
}

// --- Attachment -----------------------------------------------------------------------

void SceneObjectControl::attachToBone(const std::string& bone, ISceneObject* other,
                                      const FloatQuaternion& offsetOrientation,
                                      const FloatVector3& offsetPosition) {
    if (!entityExists("attachToBone"))
        return;
    auto* const otherControl = dynamic_cast<SceneObjectControl*>(other);
    if (!otherControl) {
        report("attachToBone",
               "no object of this viewer to hang on bone " + quoted(bone) + " of " + name);
        return;
    }
    Ogre::Entity* const hanging = otherControl->entity;
    if (!hanging) {
        report("attachToBone", otherControl->name + " no longer exists");
        return;
    }
    if (!entity->hasSkeleton() || !entity->getSkeleton()->hasBone(bone)) {
        report("attachToBone", name + " has no bone " + quoted(bone));
        return;
    }
    if (hanging == entity) {
        report("attachToBone", name + " cannot hang on its own bone " + quoted(bone));
        return;
    }
    // Hanging an object on a bone of something that hangs on it, however indirectly, would
    // make a loop that no transform can be derived through.
    for (const Ogre::Entity* carrier = entity; carrier->isParentTagPoint();) {
        carrier = static_cast<const Ogre::TagPoint*>(carrier->getParentNode())->getParentEntity();
        if (carrier == hanging) {
            report("attachToBone", name + " hangs on " + otherControl->name + ", which cannot " +
                                       "hang on its bone " + quoted(bone));
            return;
        }
    }
    const Ogre::Quaternion orientation = toOgre(offsetOrientation);
    const Ogre::Vector3 position = toOgre(offsetPosition);
    if (!guard().admits("attachToBone", orientation) || !guard().admits("attachToBone", position))
        return;
    // Where the engine will place the object: the offset in the bone's space, the bone in
    // the entity's. Checked before the object leaves where it is.
    if (Ogre::Node* node = entity->getParentNode();
        node && !TransformGuard::isFinite(node->convertLocalToWorldPosition(
                    entity->getSkeleton()->getBone(bone)->convertLocalToWorldPosition(position)))) {
        report("attachToBone", name + ": " + otherControl->name + " on bone " + quoted(bone) +
                                   " would be placed beyond the range of floats; ignored");
        return;
    }
    detachFromParent(*hanging);
    entity->attachObjectToBone(bone, hanging, orientation, position);
}

void SceneObjectControl::detachFromBone(const std::string& objectName) {
    if (!entityExists("detachFromBone"))
        return;
    try {
        entity->detachObjectFromBone(objectName);
    } catch (const Ogre::Exception&) {
        report("detachFromBone", name + " has no object " + quoted(objectName) + " on its bones");
    }
}

void SceneObjectControl::attachToSceneNode(const std::string& nodeName) {
    if (!entityExists("attachToSceneNode"))
        return;
    // Looked up before the entity is taken off its parent, so that an unknown name leaves
    // it where it was. The engine refuses to look up the empty name with an exception.
    if (nodeName.empty() || !sceneManager->hasSceneNode(nodeName)) {
        report("attachToSceneNode", "no scene node " + quoted(nodeName) + " for " + name);
        return;
    }
    Ogre::SceneNode* const target = sceneManager->getSceneNode(nodeName);
    detachFromParent(*entity);
    target->attachObject(entity);
}

const std::string& SceneObjectControl::getName() {
    return entity ? entity->getName() : name;
}

void SceneObjectControl::detachFromParent(Ogre::Entity& movable) {
    if (!movable.isAttached())
        return;
    Ogre::Node* const parent = movable.getParentNode();
    // The scene loader names every scene node "node_" and the file's name; a tag point has
    // no name. A scene node of another name is still a scene node.
    if (parent->getName().compare(0, 5, "node_") == 0 || !movable.isParentTagPoint())
        static_cast<Ogre::SceneNode*>(parent)->detachObject(&movable);
    else
        static_cast<Ogre::TagPoint*>(parent)->getParentEntity()->detachObjectFromBone(
            movable.getName());
}

// --- Per-frame update -----------------------------------------------------------------

void SceneObjectControl::update(double seconds, bool reportTargets, TransformGuard::Pass* pass) {
    step(seconds, reportTargets, pass);
}

// One function for the whole pass, with every step of an object and the engine's inline
// accessors flattened into it: an object's step is a few hundred instructions around the
// engine's calls, and calling it, and its parts, for each object cost as many again.
[[gnu::flatten]] void
SceneObjectControl::updateEach(const std::vector<SceneObjectControl*>& controls, double seconds,
                               bool reportTargets) {
    TransformGuard::Pass pass;
    const std::size_t count = controls.size();
    for (std::size_t index = 0; index < count; ++index) {
        if (index + 2 < count)
            controls[index + 2]->prefetch();
        if (index + 1 < count)
            controls[index + 1]->prefetchAnimations();
        controls[index]->step(seconds, reportTargets, &pass);
    }
}

inline void SceneObjectControl::step(double seconds, bool reportTargets,
                                     TransformGuard::Pass* pass) {
    if (!entity)
        return;
    const TransformGuard checks = guard(pass);
    // An entity without animation states has no rates or slides either.
    if (!motions.empty())
        if (const Ogre::AnimationStateSet* states = entity->getAllAnimationStates())
            for (AnimationMotion& motion : motions) {
                const bool advancing = motion.has(AnimationMotion::RATE) && motion.rate != 0.0f;
                const bool sliding = motion.has(AnimationMotion::SLIDE_RATE);
                if (!advancing && !sliding)
                    continue;
                Ogre::AnimationState* const state = stateIn(*states, *motion.anim);
                if (!state)
                    continue;
                if (advancing)
                    advance(*state, motion, seconds, checks);
                if (sliding)
                    slide(*state, motion, seconds, checks);
            }
    if (Ogre::Node* node = entity->getParentNode()) {
        move(*node, seconds, reportTargets, checks);
        turn(*node, seconds, checks);
    }
}

void SceneObjectControl::resetMotion() {
    motions.clear();
    velocity = Ogre::Vector3::ZERO;
    moveTarget = Ogre::Vector3::ZERO;
    slerpFrom = Ogre::Quaternion::IDENTITY;
    slerpTo = Ogre::Quaternion::IDENTITY;
    slerpRate = 0.0f;
    slerpProgress = 0.0f;
}

inline void SceneObjectControl::advance(Ogre::AnimationState& state, AnimationMotion& motion,
                                        double seconds, const TransformGuard& checks) {
    float& rate = motion.rate;
    const auto step = static_cast<float>(rate * seconds);
    if (!checks.admits("update", "step", *motion.anim, step, "animation stopped")) {
        rate = 0.0f;
        return;
    }
    if (!motion.has(AnimationMotion::STOP_TIME)) {
        state.addTime(step);
        return;
    }
    const float stop = motion.stopTime;
    if (AnimationLimit::passesStop(step, state.getTimePosition() + step, stop)) {
        state.setTimePosition(stop);
        rate = 0.0f;
        motion.forget(AnimationMotion::STOP_TIME);
    } else {
        state.addTime(step);
    }
}

inline void SceneObjectControl::slide(Ogre::AnimationState& state, AnimationMotion& motion,
                                      double seconds, const TransformGuard& checks) {
    float& rate = motion.slideRate;
    const auto weight = static_cast<float>(rate * seconds + state.getWeight());
    if (!checks.admits("update", "weight", *motion.anim, weight, "weight slide stopped")) {
        rate = 0.0f;
        return;
    }
    if (!motion.has(AnimationMotion::WEIGHT_TARGET)) {
        state.setWeight(weight);
        return;
    }
    const float target = motion.weightTarget;
    if (AnimationLimit::reachesTarget(rate, weight, target)) {
        state.setWeight(target);
        rate = 0.0f;
    } else {
        state.setWeight(weight);
    }
}

SceneObjectControl::Motions::iterator SceneObjectControl::findMotion(const std::string& anim) {
    const auto entry = std::lower_bound(motions.begin(), motions.end(), anim, namedBefore);
    return entry != motions.end() && *entry->anim == anim ? entry : motions.end();
}

SceneObjectControl::AnimationMotion& SceneObjectControl::motionOf(const std::string& anim) {
    const auto entry = std::lower_bound(motions.begin(), motions.end(), anim, namedBefore);
    if (entry != motions.end() && *entry->anim == anim)
        return *entry;
    return *motions.insert(entry, AnimationMotion{&*animationNames->insert(anim).first});
}

bool SceneObjectControl::namedBefore(const AnimationMotion& motion, const std::string& anim) {
    return *motion.anim < anim;
}

void SceneObjectControl::forgetIfIdle(Motions::iterator entry) {
    if (entry->stored == 0)
        motions.erase(entry);
}

std::map<std::string, float> SceneObjectControl::collect(AnimationMotion::Stored number,
                                                         float AnimationMotion::*field) const {
    std::map<std::string, float> values;
    for (const AnimationMotion& motion : motions)
        if (motion.has(number))
            values.emplace(*motion.anim, motion.*field);
    return values;
}

std::map<std::string, float> SceneObjectControl::getAnimationRates() const {
    return collect(AnimationMotion::RATE, &AnimationMotion::rate);
}

std::map<std::string, float> SceneObjectControl::getAnimationStopTimes() const {
    return collect(AnimationMotion::STOP_TIME, &AnimationMotion::stopTime);
}

std::map<std::string, float> SceneObjectControl::getWeightSlideRates() const {
    return collect(AnimationMotion::SLIDE_RATE, &AnimationMotion::slideRate);
}

std::map<std::string, float> SceneObjectControl::getWeightTargets() const {
    return collect(AnimationMotion::WEIGHT_TARGET, &AnimationMotion::weightTarget);
}

inline void SceneObjectControl::move(Ogre::Node& node, double seconds, bool reportTargets,
                                     const TransformGuard& checks) {
    if (isZero(velocity))
        return;
    const Ogre::Vector3 step = velocity * static_cast<float>(seconds);
    // A zero target means none: the movement goes on until the velocity changes.
    if (isZero(moveTarget) ||
        lengthSquared(step.x, step.y, step.z) < distanceSquared(moveTarget, node.getPosition())) {
        if (!checks.places(
                "update", node, [&] { node.translate(step, Ogre::Node::TS_PARENT); },
                "movement stopped"))
            velocity = Ogre::Vector3::ZERO;
        return;
    }
    if (reportTargets)
        DebugOutput::write("Entity Hit Target\n");
    checks.places(
        "update", node, [&] { node.setPosition(moveTarget); }, "movement stopped");
    velocity = Ogre::Vector3::ZERO;
}

inline void SceneObjectControl::turn(Ogre::Node& node, double seconds,
                                     const TransformGuard& checks) {
    if (!(slerpRate > 0.0f))
        return;
    slerpProgress = static_cast<float>(slerpRate * seconds + slerpProgress);
    if (!(slerpProgress < 1.0f)) {
        slerpProgress = 1.0f;
        slerpRate = 0.0f;
        // The shortest path ends on the negative of slerpTo when the two lie more than a
        // half turn apart, and rounding moves it off by a little: the turn ends on slerpTo.
        checks.orients("update", node, slerpTo, "turn stopped");
        return;
    }
    if (!checks.orients("update", node,
                        Ogre::Quaternion::Slerp(slerpProgress, slerpFrom, slerpTo, true),
                        "turn stopped"))
        slerpRate = 0.0f;
}

// --- Lookups --------------------------------------------------------------------------

Ogre::AnimationState* SceneObjectControl::stateOf(const std::string& anim) const {
    const Ogre::AnimationStateSet* states = entity->getAllAnimationStates();
    return states ? stateIn(*states, anim) : nullptr;
}

inline Ogre::AnimationState* SceneObjectControl::stateIn(const Ogre::AnimationStateSet& states,
                                                         const std::string& anim) {
    const Ogre::AnimationStateMap& byName = states.getAnimationStates();
    const auto found = byName.find(anim);
    return found == byName.end() ? nullptr : found->second;
}

Ogre::AnimationState* SceneObjectControl::findAnimation(const char* operation,
                                                        const std::string& anim) const {
    if (!entityExists(operation))
        return nullptr;
    Ogre::AnimationState* state = stateOf(anim);
    if (!state)
        report(operation, name + " has no animation " + quoted(anim));
    return state;
}

TransformGuard SceneObjectControl::guard(TransformGuard::Pass* pass) const {
    return TransformGuard("SceneObjectControl", name, pass, sink);
}

void SceneObjectControl::report(const char* operation, const std::string& text) const {
    guard().report(operation, text);
}

bool SceneObjectControl::entityExists(const char* operation) const {
    if (!entity)
        report(operation, name + " no longer exists");
    return entity != nullptr;
}

Ogre::Node* SceneObjectControl::findNode(const char* operation) const {
    if (!entityExists(operation))
        return nullptr;
    Ogre::Node* node = entity->getParentNode();
    if (!node)
        report(operation, name + " hangs on no node");
    return node;
}

} // namespace corvane
