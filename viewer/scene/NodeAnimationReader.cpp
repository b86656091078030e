#include "viewer/scene/NodeAnimationReader.h"

#include <OgreAnimation.h>
#include <OgreAnimationState.h>
#include <OgreKeyFrame.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <OgreStringConverter.h>
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <optional>
#include <set>
#include <tinyxml.h>
#include <vector>

#include "framework/NameSuggestion.h"
#include "platform/DebugOutput.h"
#include "viewer/control/TransformGuard.h"
#include "viewer/scene/RealReader.h"
#include "viewer/scene/SceneLoader.h"
#include "viewer/scene/SceneReport.h"
#include "viewer/scene/SceneSpellings.h"

namespace corvane {

namespace {

const char* const ORIGIN = "SceneLoader::processNode()";

// One key as the file gives it.
struct Key {
    float time;
    std::optional<Ogre::Vector3> position;
    std::optional<Ogre::Quaternion> rotation;
    std::optional<Ogre::Vector3> scale;
};

// Rounding in an exporter's numbers: a relative key "at no offset" is one within this.
constexpr float CLOSE = 1e-4f;

bool near(const Ogre::Vector3& a, const Ogre::Vector3& b) {
    return a.positionEquals(b, CLOSE);
}

bool near(const Ogre::Quaternion& a, const Ogre::Quaternion& b) {
    return a.equals(b, Ogre::Radian(CLOSE));
}

bool isUnmoved(const Ogre::Node& node) {
    return near(node.getPosition(), Ogre::Vector3::ZERO) &&
           near(node.getOrientation(), Ogre::Quaternion::IDENTITY) &&
           near(node.getScale(), Ogre::Vector3::UNIT_SCALE);
}

// Whether `key` holds no offset, turn or size of its own: the first key of keys that are
// relative to the node's place.
bool isRelativeStart(const Key& key) {
    return (!key.position || near(*key.position, Ogre::Vector3::ZERO)) &&
           (!key.rotation || near(*key.rotation, Ogre::Quaternion::IDENTITY)) &&
           (!key.scale || near(*key.scale, Ogre::Vector3::UNIT_SCALE));
}

// Whether `key` puts the node where it stands.
bool isNodesPlace(const Key& key, const Ogre::Node& node) {
    return (!key.position || near(*key.position, node.getPosition())) &&
           (!key.rotation || near(*key.rotation, node.getOrientation())) &&
           (!key.scale || near(*key.scale, node.getScale()));
}

Ogre::Vector3 divided(const Ogre::Vector3& scale, const Ogre::Vector3& by) {
    // A node of no size in some direction stays so whatever its keys say.
    const auto part = [](float value, float divisor) {
        return divisor != 0.0f ? value / divisor : 1.0f;
    };
    return {part(scale.x, by.x), part(scale.y, by.y), part(scale.z, by.z)};
}

// The engine plays a key as an offset from the node's own transform: it moves the node by
// the key's translation in its parent, turns it by the key's rotation about its own axes and
// multiplies its size by the key's scale.
void addKey(Ogre::NodeAnimationTrack& track, const Key& key, const Ogre::Node& node,
            bool relative) {
    Ogre::TransformKeyFrame* frame = track.createNodeKeyFrame(key.time);
    if (relative) {
        frame->setTranslate(key.position.value_or(Ogre::Vector3::ZERO));
        frame->setRotation(key.rotation.value_or(Ogre::Quaternion::IDENTITY));
        frame->setScale(key.scale.value_or(Ogre::Vector3::UNIT_SCALE));
        return;
    }
    frame->setTranslate(key.position ? *key.position - node.getPosition() : Ogre::Vector3::ZERO);
    frame->setRotation(key.rotation ? node.getOrientation().Inverse() * *key.rotation
                                    : Ogre::Quaternion::IDENTITY);
    frame->setScale(key.scale ? divided(*key.scale, node.getScale()) : Ogre::Vector3::UNIT_SCALE);
}

// A key of `element`, or none after one line when it cannot be used.
std::optional<Key> readKey(const TiXmlElement& element, float length, const std::string& what,
                           const SceneReport& report) {
    Key key{RealReader::parse(element.Attribute("time")), {}, {}, {}};
    const std::string at =
        "the key at \"" +
        std::string(element.Attribute("time") != nullptr ? element.Attribute("time") : "") +
        "\" of " + what;
    if (!std::isfinite(key.time) || key.time < 0.0f || key.time > length) {
        report.error(ORIGIN, element.Row(),
                     at + " is not within its length " + DebugOutput::number(length) +
                         "; the key is skipped");
        return std::nullopt;
    }
    if (const TiXmlElement* position = SceneSpellings::child(&element, "position"))
        key.position = SceneLoader::readPosition(position);
    if (const TiXmlElement* rotation = SceneSpellings::child(&element, "rotation"))
        key.rotation = SceneSpellings::isTodays(rotation, "rotation")
                           ? SceneLoader::readQuaternion(rotation)
                           : SceneLoader::readOrientation(rotation);
    if (const TiXmlElement* scale = element.FirstChildElement("scale"))
        key.scale = SceneLoader::readScale(scale);
    if ((key.position && !TransformGuard::isFinite(*key.position)) ||
        (key.scale && !TransformGuard::isFinite(*key.scale)) ||
        (key.rotation && !TransformGuard::isRotation(*key.rotation))) {
        report.error(ORIGIN, element.Row(),
                     at + " has a place, turn or size the engine cannot use; the key is skipped");
        return std::nullopt;
    }
    if (key.rotation)
        key.rotation->normalise();
    return key;
}

// The mode that `attribute` of `element` names among `modes`; the first when it is absent,
// and after one line when it names none of them.
template <class Mode>
Mode modeOf(const TiXmlElement& element, const char* attribute,
            std::initializer_list<std::pair<const char*, Mode>> modes, const std::string& what,
            const SceneReport& report) {
    const char* text = element.Attribute(attribute);
    if (text == nullptr)
        return modes.begin()->second;
    std::set<std::string> names;
    for (const auto& [name, mode] : modes) {
        // Exporters write "Spline" as well as "spline", as they do fog modes.
        if (Ogre::StringUtil::match(text, name, false))
            return mode;
        names.insert(name);
    }
    report.error(ORIGIN, element.Row(),
                 what + " has " + attribute + " \"" + text + "\"" +
                     NameSuggestion::of(text, names) + "; it is " + modes.begin()->first);
    return modes.begin()->second;
}

void readAnimation(const TiXmlElement& element, Ogre::SceneManager& sceneManager,
                   Ogre::SceneNode& node, const SceneReport& report) {
    const char* name = element.Attribute("name");
    if (name == nullptr || *name == '\0') {
        report.error(ORIGIN, element.Row(),
                     node.getName() + " has an animation without a name; it is skipped");
        return;
    }
    const std::string what = node.getName() + "'s animation \"" + name + "\"";
    const std::string engineName = NodeAnimationReader::engineName(node.getName(), name);
    if (sceneManager.hasAnimation(engineName)) {
        report.error(ORIGIN, element.Row(), what + " is defined already; the first stays");
        return;
    }
    const float length = RealReader::parse(element.Attribute("length"));
    if (!std::isfinite(length) || length <= 0.0f) {
        report.error(ORIGIN, element.Row(),
                     what + " has no length above 0 (\"" +
                         (element.Attribute("length") ? element.Attribute("length") : "") +
                         "\"); it is skipped");
        return;
    }
    std::vector<Key> keys;
    for (const TiXmlElement* key = element.FirstChildElement("keyframe"); key != nullptr;
         key = key->NextSiblingElement("keyframe"))
        if (std::optional<Key> read = readKey(*key, length, what, report))
            keys.push_back(*read);
    if (keys.empty()) {
        report.error(ORIGIN, element.Row(), what + " has no key; it is skipped");
        return;
    }
    const Key& first = *std::min_element(
        keys.begin(), keys.end(), [](const Key& a, const Key& b) { return a.time < b.time; });
    const bool relative = !isUnmoved(node) && isRelativeStart(first) && !isNodesPlace(first, node);
    if (relative)
        report.warning(ORIGIN, element.Row(),
                       what + " has keys relative to the node's place (its first key has no " +
                           "offset, turn or size); they are applied as such");

    Ogre::Animation* animation = sceneManager.createAnimation(engineName, length);
    animation->setInterpolationMode(modeOf(element, "interpolationMode",
                                           {std::pair{"linear", Ogre::Animation::IM_LINEAR},
                                            std::pair{"spline", Ogre::Animation::IM_SPLINE}},
                                           what, report));
    animation->setRotationInterpolationMode(
        modeOf(element, "rotationInterpolationMode",
               {std::pair{"linear", Ogre::Animation::RIM_LINEAR},
                std::pair{"spherical", Ogre::Animation::RIM_SPHERICAL}},
               what, report));
    Ogre::NodeAnimationTrack* track = animation->createNodeTrack(0, &node);
    for (const Key& key : keys)
        addKey(*track, key, node, relative);

    Ogre::AnimationState* state = sceneManager.createAnimationState(engineName);
    bool flag = false;
    state->setEnabled(SceneLoader::getAttributeBool(&element, "enable", flag) && flag);
    flag = false;
    state->setLoop(SceneLoader::getAttributeBool(&element, "loop", flag) && flag);
}

} // namespace

void NodeAnimationReader::read(const TiXmlElement& animations, Ogre::SceneManager& sceneManager,
                               Ogre::SceneNode& node, const SceneReport& report) {
    // The engine plays node animations from the node's initial state: its own transform.
    node.setInitialState();
    for (const TiXmlElement* animation = animations.FirstChildElement("animation");
         animation != nullptr; animation = animation->NextSiblingElement("animation"))
        readAnimation(*animation, sceneManager, node, report);
}

std::string NodeAnimationReader::engineName(const std::string& node, const std::string& name) {
    return node + "/" + name;
}

std::map<std::string, std::map<std::string, Ogre::Animation*>>
NodeAnimationReader::of(Ogre::SceneManager& sceneManager) {
    std::map<std::string, std::map<std::string, Ogre::Animation*>> found;
    for (const auto& [name, animation] : sceneManager.getAnimations()) {
        if (animation->getNumNodeTracks() != 1 || !animation->hasNodeTrack(0))
            continue;
        const Ogre::Node* node = animation->getNodeTrack(0)->getAssociatedNode();
        if (node == nullptr)
            continue;
        const std::string prefix = engineName(node->getName(), "");
        if (name.compare(0, prefix.size(), prefix) == 0)
            found[node->getName()].emplace(name.substr(prefix.size()), animation);
    }
    return found;
}

} // namespace corvane
