// fuzz_interfaces: every slot of ISceneObject and ICameraControl, called as another plug-in
// would call them, with values and names from the fuzzer's bytes, on the viewer plug-in's
// own object without a window over a small scene of the generated media; then frames,
// each derived as rendering derives it (ViewerRig), with the engine's assertions active in
// the fuzz build. The text is words, acted on in order:
//   OBJECT SLOT ARGUMENTS...   a call: OBJECT is an entity's name ("entity_figure", or one
//                              no scene has) or CAMERA; SLOT the operation's name; numbers
//                              as the C library reads them ("nan", "-inf", "3e38", "1e-30"),
//                              quaternions w x y z, names as words ("-" the empty one)
//   frames N S                 N frames of S seconds (0 or more)
//   timescale F                the scene's time scale
// At most 200 frames in all. Besides the sanitizers' and the engine's findings it fails
// when an engine exception leaves a slot, or when a slot hands back a value that is not
// finite.
#include <cmath>
#include <exception>
#include <functional>
#include <map>
#include <string>
#include <type_traits>

#include "framework/ICameraControl.h"
#include "framework/ISceneAccess.h"
#include "framework/ISceneObject.h"
#include "tests/fuzz/FuzzTarget.h"
#include "tests/fuzz/ViewerRig.h"
#include "tests/fuzz/WordReader.h"
#include "viewer/control/TransformGuard.h"

namespace {

using namespace corvane;
using fuzz::WordReader;

constexpr int MOST_FRAMES = 200;

// A figure with a skeleton and two animations, a door with one, and boxes, one carried by
// a scaled node below another, so that turns and moves reach nodes below them.
const char* const SCENE = R"(<scene><nodes>
  <node name="figure"><position x="36" y="-10" z="-40"/>
    <entity name="figure" meshfile="figure.mesh"/></node>
  <node name="door"><position z="-62"/><entity name="door" meshfile="door.mesh"/></node>
  <node name="box"><position x="-14" z="-50"/><entity name="box" meshfile="box.mesh"/>
    <node name="lid"><position y="6"/><scale x="2" y="2" z="2"/>
      <entity name="lid" meshfile="gift.mesh"/></node></node>
  <node name="gift"><position x="5" z="-40"/><entity name="gift" meshfile="gift.mesh"/></node>
</nodes></scene>)";

void expectFinite(const FloatVector3& v) {
    if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.z))
        fuzz::fail("a slot handed back a vector that is not finite");
}

void expectFinite(const FloatQuaternion& q) {
    if (!TransformGuard::isRotation({q.w, q.x, q.y, q.z}))
        fuzz::fail("a slot handed back an orientation that is not a rotation");
}

using ObjectSlot = std::function<void(WordReader&, ISceneObject&, ISceneAccess&)>;
using CameraSlot = std::function<void(WordReader&, ICameraControl&)>;

// The slots by the arguments they read, in their order.
template <class Value>
ObjectSlot nameAnd(void (ISceneObject::*slot)(const std::string&, Value)) {
    return [slot](WordReader& w, ISceneObject& o, ISceneAccess&) {
        const std::string anim = w.name();
        const double value = w.number();
        if constexpr (std::is_same_v<Value, bool>)
            (o.*slot)(anim, value != 0.0);
        else
            (o.*slot)(anim, value);
    };
}

ObjectSlot name(void (ISceneObject::*slot)(const std::string&)) {
    return [slot](WordReader& w, ISceneObject& o, ISceneAccess&) { (o.*slot)(w.name()); };
}

template <class Interface, class... Rest>
auto vectorOf(void (Interface::*slot)(const FloatVector3&)) {
    return [slot](WordReader& w, Interface& target, Rest&...) { (target.*slot)(w.vector()); };
}

template <class Interface, class... Rest>
auto quaternionOf(void (Interface::*slot)(const FloatQuaternion&)) {
    return [slot](WordReader& w, Interface& target, Rest&...) { (target.*slot)(w.quaternion()); };
}

template <class Interface, class... Rest>
auto degreesOf(void (Interface::*slot)(const float&, const float&, const float&)) {
    return [slot](WordReader& w, Interface& target, Rest&...) {
        const FloatVector3 degrees = w.vector();
        (target.*slot)(degrees.x, degrees.y, degrees.z);
    };
}

template <class Interface, class... Rest>
auto turnOf(void (Interface::*slot)(const float&, const FloatQuaternion&, const FloatQuaternion&)) {
    return [slot](WordReader& w, Interface& target, Rest&...) {
        const float rate = w.real();
        const FloatQuaternion from = w.quaternion();
        (target.*slot)(rate, from, w.quaternion());
    };
}

template <class Interface, class Result, class... Rest>
auto finiteOf(Result (Interface::*slot)()) {
    return [slot](WordReader&, Interface& target, Rest&...) { expectFinite((target.*slot)()); };
}

const std::map<std::string, ObjectSlot>& objectSlots() {
    using O = ISceneObject;
    static const std::map<std::string, ObjectSlot> slots = {
        {"setAnimationRate", nameAnd(&O::setAnimationRate)},
        {"setAnimationStopTime", nameAnd(&O::setAnimationStopTime)},
        {"stopAnimation", name(&O::stopAnimation)},
        {"setAnimationEnabled", nameAnd(&O::setAnimationEnabled)},
        {"setAnimationLoop", nameAnd(&O::setAnimationLoop)},
        {"setAnimationWeight", nameAnd(&O::setAnimationWeight)},
        {"setWeightSlideRate", nameAnd(&O::setWeightSlideRate)},
        {"setWeightSlideTarget", nameAnd(&O::setWeightSlideTarget)},
        {"setAnimationTimePosition", nameAnd(&O::setAnimationTimePosition)},
        {"getPosition", finiteOf<O, FloatVector3, ISceneAccess>(&O::getPosition)},
        {"getWorldPosition", finiteOf<O, FloatVector3, ISceneAccess>(&O::getWorldPosition)},
        {"translate", vectorOf<O, ISceneAccess>(&O::translate)},
        {"setPosition", vectorOf<O, ISceneAccess>(&O::setPosition)},
        {"setVelocity", vectorOf<O, ISceneAccess>(&O::setVelocity)},
        {"getVelocity", finiteOf<O, FloatVector3, ISceneAccess>(&O::getVelocity)},
        {"setMoveTarget", vectorOf<O, ISceneAccess>(&O::setMoveTarget)},
        {"getOrientation", finiteOf<O, FloatQuaternion, ISceneAccess>(&O::getOrientation)},
        {"setOrientationDegrees", degreesOf<O, ISceneAccess>(&O::setOrientationDegrees)},
        {"setOrientation", quaternionOf<O, ISceneAccess>(&O::setOrientation)},
        {"rotateDegrees", degreesOf<O, ISceneAccess>(&O::rotateDegrees)},
        {"rotate", quaternionOf<O, ISceneAccess>(&O::rotate)},
        {"startRotationSlerp", turnOf<O, ISceneAccess>(&O::startRotationSlerp)},
        {"printTransform", [](WordReader&, O& o, ISceneAccess&) { o.printTransform(); }},
        {"attachToBone",
         [](WordReader& w, O& o, ISceneAccess& scene) {
             const std::string bone = w.name();
             // Any name: one that no scene has hands the slot no object at all.
             O* other = scene.getSceneObject(w.name());
             const FloatQuaternion orientation = w.quaternion();
             o.attachToBone(bone, other, orientation, w.vector());
         }},
        {"detachFromBone", name(&O::detachFromBone)},
        {"attachToSceneNode", name(&O::attachToSceneNode)},
        {"getName", [](WordReader&, O& o, ISceneAccess&) { o.getName(); }},
    };
    return slots;
}

const std::map<std::string, CameraSlot>& cameraSlots() {
    using C = ICameraControl;
    static const std::map<std::string, CameraSlot> slots = {
        {"setLocalVelocity", vectorOf<C>(&C::setLocalVelocity)},
        {"setCameraPosition", vectorOf<C>(&C::setCameraPosition)},
        {"setWorldVelocity", vectorOf<C>(&C::setWorldVelocity)},
        {"setMoveTarget", vectorOf<C>(&C::setMoveTarget)},
        {"rotateDegrees", degreesOf<C>(&C::rotateDegrees)},
        {"setOrientation", quaternionOf<C>(&C::setOrientation)},
        {"getPosition", finiteOf<C, FloatVector3>(&C::getPosition)},
        {"getOrientation", finiteOf<C, FloatQuaternion>(&C::getOrientation)},
        {"startRotationSlerp", turnOf<C>(&C::startRotationSlerp)},
    };
    return slots;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    WordReader words(fuzz::text(data, size));
    try {
        fuzz::ViewerRig rig(SCENE);
        ISceneAccess& scene = rig.viewer;
        ICameraControl& camera = rig.viewer;
        int played = 0;
        while (!words.done()) {
            const std::string word = words.word();
            if (word == "frames") {
                const int frames = words.count(MOST_FRAMES - played);
                const float seconds = words.real();
                for (int frame = 0; frame < frames && seconds >= 0.0f && std::isfinite(seconds);
                     ++frame, ++played)
                    rig.frame(seconds);
            } else if (word == "timescale") {
                scene.setTimeScale(words.real());
            } else if (word == "CAMERA") {
                const auto slot = cameraSlots().find(words.word());
                if (slot != cameraSlots().end())
                    slot->second(words, camera);
            } else {
                const auto slot = objectSlots().find(words.word());
                ISceneObject* object = scene.getSceneObject(word);
                if (slot != objectSlots().end() && object != nullptr)
                    slot->second(words, *object, scene);
            }
        }
        rig.derive();
    } catch (const std::exception& error) {
        fuzz::fail(error.what());
    }
    return 0;
}
