#include "viewer/control/TransformGuard.h"

#include <cmath>
#include <initializer_list>
#include <typeinfo>

#include "platform/DebugOutput.h"
#include "platform/DiagnosticSink.h"

namespace corvane {

namespace {

const char* const BEYOND = "would be placed beyond the range of floats";

// "(1, 0, 0, 0)".
std::string listed(std::initializer_list<double> values) {
    std::string text;
    for (double value : values)
        text += (text.empty() ? "(" : ", ") + DebugOutput::number(value);
    return text + ')';
}

// The transform of a node at the top of the scene graph: its own.
TransformGuard::Placement own(const Ogre::Node& node) {
    return {node.getPosition(), node.getOrientation(), node.getScale()};
}

// `child`'s transform in the world below a parent at `parent`, in the engine's order of
// operations, so that it meets the same floats.
TransformGuard::Placement below(const TransformGuard::Placement& parent, const Ogre::Node& child) {
    return {parent.orientation * (parent.scale * child.getPosition()) + parent.position,
            child.getInheritOrientation() ? parent.orientation * child.getOrientation()
                                          : child.getOrientation(),
            child.getInheritScale() ? parent.scale * child.getScale() : child.getScale()};
}

// Whether `node`, at `placement` in the world, and the nodes below it have finite places.
bool placedBelow(const Ogre::Node& node, const TransformGuard::Placement& placement) {
    if (!placement.isFinite())
        return false;
    for (const Ogre::Node* child : node.getChildren())
        if (!placedBelow(*child, below(placement, *child)))
            return false;
    return true;
}

void settleBelow(Ogre::Node& node, const TransformGuard::Placement& placement,
                 const std::function<void(Ogre::Node&)>& unplaced) {
    TransformGuard::Placement here = placement;
    if (!here.isFinite()) {
        unplaced(node);
        here = TransformGuard::placementOf(node);
    }
    for (Ogre::Node* child : node.getChildren())
        settleBelow(*child, below(here, *child), unplaced);
}

} // namespace

bool TransformGuard::refuses(const char* operation, const Ogre::Vector3& vector,
                             const char* outcome) const {
    return refuse(operation, "vector " + listed({vector.x, vector.y, vector.z}) + " is not finite",
                  outcome);
}

bool TransformGuard::refuses(const char* operation, const Ogre::Quaternion& rotation,
                             const char* outcome) const {
    return refuse(operation,
                  "quaternion " + listed({rotation.w, rotation.x, rotation.y, rotation.z}) +
                      " is not a rotation",
                  outcome);
}

bool TransformGuard::refuses(const char* operation, const char* what, const std::string* anim,
                             double value, const char* outcome) const {
    const std::string of = anim ? " of animation \"" + *anim + '"' : "";
    return refuse(operation, what + of + " " + DebugOutput::number(value) + " is not finite",
                  outcome);
}

bool TransformGuard::admitsDegrees(const char* operation, float x, float y, float z) const {
    return (std::isfinite(x) && std::isfinite(y) && std::isfinite(z)) ||
           refuse(operation, "angles " + listed({x, y, z}) + " are not finite", "ignored");
}

bool TransformGuard::admitsTurn(const char* operation, float rate, bool running,
                                const Ogre::Quaternion& from, const Ogre::Quaternion& to) const {
    return admits(operation, "rate", rate) &&
           (!running || (admits(operation, from) && admits(operation, to)));
}

bool TransformGuard::putsBack(const char* operation, Ogre::Node& node,
                              const Ogre::Vector3& position, const char* outcome) const {
    node.setPosition(position);
    return refuse(operation, BEYOND, outcome);
}

bool TransformGuard::turnsBack(const char* operation, Ogre::Node& node,
                               const Ogre::Quaternion& orientation, const char* outcome) const {
    node.setOrientation(orientation);
    return refuse(operation, BEYOND, outcome);
}

bool TransformGuard::orientsCarefully(const char* operation, Ogre::Node& node,
                                      const Ogre::Quaternion& rotation, const char* outcome) const {
    return admits(operation, rotation, outcome) &&
           turns(
               operation, node, [&] { node.setOrientation(rotation); }, outcome);
}

bool TransformGuard::derivesFinitely(const Ogre::Node& node) {
    return placedBelow(node, placementOf(node));
}

TransformGuard::Placement TransformGuard::placementOf(const Ogre::Node& node) {
    const Ogre::Node* parent = node.getParent();
    if (parent == nullptr)
        return own(node);
    if (&typeid(node) != &typeid(Ogre::SceneNode) || &typeid(*parent) != &typeid(Ogre::SceneNode))
        return {node._getDerivedPosition(), node._getDerivedOrientation(), node._getDerivedScale()};
    return below(placementOf(*parent), node);
}

void TransformGuard::settle(Ogre::Node& top, const std::function<void(Ogre::Node&)>& unplaced) {
    settleBelow(top, placementOf(top), unplaced);
}

void TransformGuard::report(const char* operation, const std::string& message) const {
    Diagnostic diagnostic;
    diagnostic.origin = std::string(owner) + "::" + operation + "()";
    diagnostic.message = message;
    DiagnosticSink::reportTo(sink, diagnostic);
}

bool TransformGuard::refuse(const char* operation, const std::string& fault,
                            const char* outcome) const {
    report(operation, (name ? *name : std::string(text)) + ": " + fault + "; " + outcome);
    return false;
}

} // namespace corvane
