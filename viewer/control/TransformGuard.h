#pragma once

#include <cmath>
#include <string>
#include <typeinfo>

#include <OgreNode.h>
#include <OgreQuaternion.h>
#include <OgreSceneNode.h>
#include <OgreVector.h>

namespace corvane {

// Keeps what reaches the engine's scene graph usable. The engine normalises every
// orientation it is given and derives each node's place in the world from its parents';
// a value that is not finite, or a quaternion it cannot normalise, becomes NaN there, and
// the engine's bounding boxes abort the whole process on NaN. A value that fails gets one
// diagnostic line "<owner>::<operation>(): <object>: <what is wrong>; <outcome>" and goes
// no further; the caller keeps its last good state.
class TransformGuard {
public:
    // `owner` and `object` name the caller and what it acts on in the lines: for
    // "SceneObjectControl" and "entity_door". Both must outlive the guard. The name is read
    // only for a line: the checks run every frame for every moving object, and the name
    // would take the processor's cache a line that nothing else in the frame needs.
    TransformGuard(const char* owner, const std::string& object) : owner(owner), name(&object) {}
    TransformGuard(const char* owner, const char* object) : owner(owner), text(object) {}

    // Each: true when the value may go on; otherwise one line and false. `outcome` says
    // what is dropped.
    bool admits(const char* operation, const Ogre::Vector3& vector,
                const char* outcome = "ignored") const {
        return isFinite(vector) || refuses(operation, vector, outcome);
    }
    bool admits(const char* operation, const Ogre::Quaternion& rotation,
                const char* outcome = "ignored") const {
        return isRotation(rotation) || refuses(operation, rotation, outcome);
    }
    // A number the engine gets as a float; `what` names it in the line: "rate", "time".
    bool admits(const char* operation, const char* what, double value,
                const char* outcome = "ignored") const {
        return std::isfinite(static_cast<float>(value)) ||
               refuses(operation, what, nullptr, value, outcome);
    }
    // The same for a number of the animation `anim`: the "step" of animation "Walk".
    bool admits(const char* operation, const char* what, const std::string& anim, double value,
                const char* outcome) const {
        return std::isfinite(static_cast<float>(value)) ||
               refuses(operation, what, &anim, value, outcome);
    }
    bool admitsDegrees(const char* operation, float x, float y, float z) const;
    // A timed turn from `from` to `to` at `rate`; the quaternions count only when `running`:
    // those of a turn that never runs are never used.
    bool admitsTurn(const char* operation, float rate, bool running, const Ogre::Quaternion& from,
                    const Ogre::Quaternion& to) const;

    // Makes `change` to `node` and keeps it when the node and every node below it still
    // have a finite place in the world; otherwise puts back the node's position and
    // orientation, writes one line and returns false.
    template <class Change>
    bool places(const char* operation, Ogre::Node& node, Change&& change,
                const char* outcome = "ignored") const {
        const Ogre::Vector3 position = node.getPosition();
        const Ogre::Quaternion orientation = node.getOrientation();
        change();
        if (placesFinitely(node))
            return true;
        node.setPosition(position);
        node.setOrientation(orientation);
        return refuse(operation, "would be placed beyond the range of floats", outcome);
    }
    // As `places`, for a change of the node's orientation only, which cannot move the node
    // itself: only the nodes below it are looked at.
    template <class Change>
    bool turns(const char* operation, Ogre::Node& node, Change&& change,
               const char* outcome = "ignored") const {
        if (!node.getChildren().empty())
            return places(operation, node, change, outcome);
        change();
        return true;
    }
    // Sets `node`'s orientation when `rotation` is one, as `turns`.
    bool orients(const char* operation, Ogre::Node& node, const Ogre::Quaternion& rotation,
                 const char* outcome = "ignored") const {
        return admits(operation, rotation, outcome) &&
               turns(
                   operation, node, [&] { node.setOrientation(rotation); }, outcome);
    }

    // Whether the engine can normalise `rotation`: finite parts and a squared length that
    // is above zero and within the range of floats (it divides by the square root of it).
    static bool isRotation(const Ogre::Quaternion& rotation) {
        const float squaredLength = rotation.Norm();
        return squaredLength > 0.0f && std::isfinite(squaredLength);
    }
    static bool isFinite(const Ogre::Vector3& vector) {
        return std::isfinite(vector.x) && std::isfinite(vector.y) && std::isfinite(vector.z);
    }
    // Whether `node` and every node below it have a finite place in the world, as the
    // engine derives it from their own transforms and their parents'. Quick for most
    // objects, which stand alone.
    static bool placesFinitely(const Ogre::Node& node) {
        return isFinite(node.getPosition()) && (standsAlone(node) || derivesFinitely(node));
    }

private:
    // Hangs straight from the scene's root and carries no other node: its own position is
    // its place in the world.
    static bool standsAlone(const Ogre::Node& node) {
        const Ogre::Node* parent = node.getParent();
        return node.getChildren().empty() && parent != nullptr && isSceneRoot(*parent);
    }
    // An unmoved root scene node. A tag point's parent is a bone, never a scene node. The
    // engine's one description of the type is compared by address, which is quick; should
    // there ever be two, a scene node only takes the longer way.
    static bool isSceneRoot(const Ogre::Node& node) {
        return node.getParent() == nullptr && &typeid(node) == &typeid(Ogre::SceneNode) &&
               node.getPosition() == Ogre::Vector3::ZERO &&
               node.getOrientation() == Ogre::Quaternion::IDENTITY &&
               node.getScale() == Ogre::Vector3::UNIT_SCALE;
    }
    // The engine's derivation of the node's place, and of those of the nodes below it.
    static bool derivesFinitely(const Ogre::Node& node);
    // Each writes the line for a value that failed and returns false.
    bool refuses(const char* operation, const Ogre::Vector3& vector, const char* outcome) const;
    bool refuses(const char* operation, const Ogre::Quaternion& rotation,
                 const char* outcome) const;
    bool refuses(const char* operation, const char* what, const std::string* anim, double value,
                 const char* outcome) const;
    bool refuse(const char* operation, const std::string& fault, const char* outcome) const;

    const char* owner;
    const std::string* name = nullptr;
    const char* text = nullptr;
};

} // namespace corvane
