#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <typeinfo>

#include <OgreNode.h>
#include <OgreQuaternion.h>
#include <OgreSceneNode.h>
#include <OgreVector.h>

namespace corvane {

class DiagnosticSink;

// Keeps what reaches the engine's scene graph usable. The engine normalises every
// orientation it is given and derives each node's place in the world from its parents';
// a value that is not finite, or a quaternion it cannot normalise, becomes NaN there, and
// the engine's bounding boxes abort the whole process on NaN. A value that fails gets one
// diagnostic line "<owner>::<operation>(): <object>: <what is wrong>; <outcome>" and goes
// no further; the caller keeps its last good state.
class TransformGuard {
public:
    // What the checks of one pass over the scene's objects share: the scene node they last
    // found at the world's origin, which most objects of a scene hang from (the scene
    // loader's root node), so that it and the nodes above it are not looked at again for
    // each object. A change that the quick way cannot decide, such as one that moves a
    // node carrying others, forgets it. Made by the pass; nothing but the pass's own
    // changes may move a node while it lasts.
    struct Pass {
        const Ogre::Node* unmovedParent = nullptr;
    };

    // `owner` and `object` name the caller and what it acts on in the lines: for
    // "SceneObjectControl" and "entity_door". Both must outlive the guard. The name is read
    // only for a line: the checks run every frame for every moving object, and the name
    // would take the processor's cache a line that nothing else in the frame needs.
    // Lines go to `sink`, standard error when it is null.
    TransformGuard(const char* owner, const std::string& object, Pass* pass = nullptr,
                   DiagnosticSink* sink = nullptr)
        : owner(owner), name(&object), pass(pass), sink(sink) {}
    TransformGuard(const char* owner, const char* object, DiagnosticSink* sink = nullptr)
        : owner(owner), text(object), sink(sink) {}

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
    // One line "<owner>::<operation>(): <text>": what the owner finds wrong besides a
    // value, such as a name it does not know, goes the way of the guard's own lines.
    void report(const char* operation, const std::string& text) const;
    // A timed turn from `from` to `to` at `rate`; the quaternions count only when `running`:
    // those of a turn that never runs are never used.
    bool admitsTurn(const char* operation, float rate, bool running, const Ogre::Quaternion& from,
                    const Ogre::Quaternion& to) const;

    // Makes `change` to `node`'s position and keeps it when the node and every node below
    // it still have a finite place in the world; otherwise puts the position back, writes
    // one line and returns false. Runs for every moving object in every frame: the common
    // case, a node that stands alone, is decided after the change from what the change
    // itself brought into the processor's cache.
    template <class Change>
    bool places(const char* operation, Ogre::Node& node, Change&& change,
                const char* outcome = "ignored") const {
        const Ogre::Vector3 position = node.getPosition();
        change();
        return placesFinitely(node) || putsBack(operation, node, position, outcome);
    }
    // As `places`, for a change of the node's orientation only, which cannot move the node
    // itself: only the nodes below it are looked at.
    template <class Change>
    bool turns(const char* operation, Ogre::Node& node, Change&& change,
               const char* outcome = "ignored") const {
        if (node.getChildren().empty()) {
            change();
            return true;
        }
        const Ogre::Quaternion orientation = node.getOrientation();
        change();
        return derivesAnew(node) || turnsBack(operation, node, orientation, outcome);
    }
    // Sets `node`'s orientation when `rotation` is one, as `turns`.
    bool orients(const char* operation, Ogre::Node& node, const Ogre::Quaternion& rotation,
                 const char* outcome = "ignored") const {
        if (isRotation(rotation) && node.getChildren().empty()) {
            node.setOrientation(rotation);
            return true;
        }
        return orientsCarefully(operation, node, rotation, outcome);
    }

    // Whether the engine can normalise `rotation`: finite parts and a squared length that
    // is above zero and within the range of floats (it divides by the square root of it).
    static bool isRotation(const Ogre::Quaternion& rotation) {
        const float squaredLength = rotation.Dot(rotation);
        return squaredLength > 0.0f && std::isfinite(squaredLength);
    }
    static bool isFinite(const Ogre::Vector3& vector) {
        return std::isfinite(vector.x) && std::isfinite(vector.y) && std::isfinite(vector.z);
    }
    // A node's transform in the world: its place, turn and size.
    struct Placement {
        Ogre::Vector3 position;
        Ogre::Quaternion orientation;
        Ogre::Vector3 scale;
        // Whether the engine can use it: a finite place and size.
        bool isFinite() const {
            return TransformGuard::isFinite(position) && TransformGuard::isFinite(scale);
        }
    };
    // `node`'s transform in the world, derived as the engine derives it from its own
    // transform and those of the nodes above it. The engine keeps what it derived until
    // its next pass over the scene graph, and does not derive it again when only a node
    // further up has moved since: every place is derived anew here, from the top. Where
    // the node hangs on a bone, whose place comes from the skeleton's animation, the
    // engine's own derivation.
    static Placement placementOf(const Ogre::Node& node);
    // Hands `unplaced` every node at and below `top` whose transform in the world is not
    // finite, parents first; `unplaced` may change the node's own transform before the
    // nodes below it are derived from it.
    static void settle(Ogre::Node& top, const std::function<void(Ogre::Node&)>& unplaced);

private:
    // Whether `node` and every node below it have a finite place in the world, as the
    // engine derives it from their own transforms and their parents'. Quick for most
    // objects, which stand alone.
    bool placesFinitely(const Ogre::Node& node) const {
        return isFinite(node.getPosition()) && (standsAlone(node) || derivesAnew(node));
    }
    // Carries no other node and hangs from a scene node that the engine places at the
    // world's origin, unturned and unscaled (the scene's root, the scene loader's own root
    // node): its own position is its place in the world. A tag point's parent is a bone,
    // never a scene node. The engine's one description of the type is compared by address,
    // which is quick; should there ever be two, a scene node only takes the longer way.
    bool standsAlone(const Ogre::Node& node) const {
        const Ogre::Node* parent = node.getParent();
        if (!node.getChildren().empty() || parent == nullptr)
            return false;
        if (pass != nullptr && parent == pass->unmovedParent)
            return true;
        if (!isUnmoved(*parent))
            return false;
        if (pass != nullptr)
            pass->unmovedParent = parent;
        return true;
    }
    // Whether `node` and every node above it are scene nodes at their parents' origins,
    // unturned and unscaled: the engine places `node` at the world's origin. Read from the
    // nodes' own transforms, which are always up to date. Every moving object asks this of
    // its parent (once per pass), so the transforms are compared by their bits, in one
    // test: a negative zero, equal to zero as a number, takes the longer way.
    static bool isUnmoved(const Ogre::Node& node) {
        for (const Ogre::Node* at = &node; at != nullptr; at = at->getParent()) {
            const Ogre::Vector3& p = at->getPosition();
            const Ogre::Quaternion& q = at->getOrientation();
            const Ogre::Vector3& s = at->getScale();
            constexpr std::uint32_t ONE = 0x3f800000;
            if (&typeid(*at) != &typeid(Ogre::SceneNode) ||
                (bits(p.x) | bits(p.y) | bits(p.z) | bits(q.x) | bits(q.y) | bits(q.z) |
                 (bits(q.w) ^ ONE) | (bits(s.x) ^ ONE) | (bits(s.y) ^ ONE) | (bits(s.z) ^ ONE)) !=
                    0)
                return false;
        }
        return true;
    }
    static std::uint32_t bits(float value) {
        std::uint32_t pattern;
        std::memcpy(&pattern, &value, sizeof pattern);
        return pattern;
    }
    // Whether the node's place and those of the nodes below it, derived as the engine
    // derives them, are finite.
    static bool derivesFinitely(const Ogre::Node& node);
    // The same, for a change the quick way could not decide: the pass forgets what it knew.
    bool derivesAnew(const Ogre::Node& node) const {
        if (pass != nullptr)
            pass->unmovedParent = nullptr;
        return derivesFinitely(node);
    }
    // The slow ways of `places`, `turns` and `orients`: each puts back what the change
    // altered, writes the line and returns false.
    bool putsBack(const char* operation, Ogre::Node& node, const Ogre::Vector3& position,
                  const char* outcome) const;
    bool turnsBack(const char* operation, Ogre::Node& node, const Ogre::Quaternion& orientation,
                   const char* outcome) const;
    bool orientsCarefully(const char* operation, Ogre::Node& node, const Ogre::Quaternion& rotation,
                          const char* outcome) const;
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
    Pass* pass = nullptr;
    DiagnosticSink* sink = nullptr;
};

} // namespace corvane
