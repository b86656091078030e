#include "tests/playback/TimelineRig.h"

#include <OgreAnimationState.h>
#include <OgreCamera.h>
#include <OgreEntity.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <OgreTagPoint.h>
#include <cstdio>
#include <map>
#include <tinyxml.h>

#include "framework/Identifiers.h"
#include "tools/HeadlessMediaEngine.h"

namespace corvane::testing {

namespace {

std::string exactly(float value) {
    char text[32];
    std::snprintf(text, sizeof(text), " %a", static_cast<double>(value));
    return text;
}

std::string exactly(const Ogre::Vector3& v) {
    return exactly(v.x) + exactly(v.y) + exactly(v.z);
}

std::string exactly(const FloatVector3& v) {
    return exactly(v.x) + exactly(v.y) + exactly(v.z);
}

std::string exactly(const Ogre::Quaternion& q) {
    return exactly(q.w) + exactly(q.x) + exactly(q.y) + exactly(q.z);
}

std::string transformOf(const Ogre::Node& node) {
    return exactly(node.getPosition()) + " |" + exactly(node.getOrientation()) + " |" +
           exactly(node.getScale());
}

void describeNodes(const Ogre::Node& node, std::map<std::string, std::string>& lines) {
    // The loader's own root node has a name made from a counter of the process.
    if (node.getName().rfind("node_", 0) == 0 || node.getName() == "PlayerCam")
        lines["node " + node.getName()] = transformOf(node);
    for (const Ogre::Node* child : node.getChildren())
        describeNodes(*child, lines);
}

} // namespace

TimelineRig::TimelineRig(const std::string& sceneFile, const std::string& keyframes,
                         const std::string& scriptAttributes)
    : TimelineRig(CORVANE_DEMO_SCENE_FOLDER, sceneFile, keyframes, scriptAttributes) {}

TimelineRig::TimelineRig(const std::string& sceneFolder, const std::string& sceneFile,
                         const std::string& keyframes, const std::string& scriptAttributes) {
    viewer.addResourceLocation(sceneFolder, "FileSystem");
    viewer.addResourceLocation(tools::HeadlessMediaEngine::mediaFolder(), "FileSystem");
    viewer.setSceneFile(sceneFile);
    viewer.start();
    host.add(PLUGIN_ID_SCENE_VIEWER, static_cast<IViewerCore*>(&viewer));
    host.add(PLUGIN_ID_USER_INTERFACE, &input);
    // Only the texts are kept.
    log.keep = false;
    host.add(UUID::fromFields(0x7E57F00D, 0, 0, 1), &overlay);
    host.add(PLUGIN_ID_PLAYBACK_DIRECTOR, static_cast<IPlaybackDirector*>(&controller));

    const std::string script = folder.write("keyframes.xml", keyframes);
    TiXmlDocument environment;
    environment.Parse(
        ("<environment><script src=\"" + script + "\" " + scriptAttributes + "/></environment>")
            .c_str());
    controller.parseEnvironment(environment.RootElement());
    controller.start();
}

void TimelineRig::frame(float seconds) {
    input.nextFrame();
    viewer.advanceScene(seconds);
    controller.renderFrame(seconds);
}

void TimelineRig::frames(int count, float seconds) {
    for (int frame = 0; frame < count; ++frame)
        this->frame(seconds);
}

std::string TimelineRig::sceneState() const {
    std::map<std::string, std::string> lines;
    Ogre::SceneManager* scene = const_cast<tools::HeadlessViewer&>(viewer).getSceneManager();
    describeNodes(*scene->getRootSceneNode(), lines);
    for (const auto& [name, movable] : scene->getMovableObjects("Entity")) {
        const auto* entity = static_cast<const Ogre::Entity*>(movable);
        std::string& line = lines["entity " + name];
        if (entity->isParentTagPoint()) {
            const auto* tag = static_cast<const Ogre::TagPoint*>(entity->getParentNode());
            line = "on " + tag->getParent()->getName() + " of " +
                   tag->getParentEntity()->getName() + transformOf(*tag);
        } else if (entity->isAttached()) {
            line = "on " + entity->getParentNode()->getName();
        }
        if (const Ogre::AnimationStateSet* states = entity->getAllAnimationStates())
            for (const auto& [anim, state] : states->getAnimationStates())
                line += "; " + anim + exactly(state->getTimePosition()) +
                        exactly(state->getWeight()) + (state->getEnabled() ? " on" : " off") +
                        (state->getLoop() ? " loop" : "");
    }
    for (const auto& [name, state] : scene->getAnimationStates())
        lines["scene animation " + name] =
            exactly(state->getTimePosition()) + exactly(state->getWeight()) +
            (state->getEnabled() ? " on" : " off") + (state->getLoop() ? " loop" : "");
    lines["camera motion"] = exactly(viewer.getLocalVelocity()) + " |" +
                             exactly(viewer.getWorldVelocity()) + " |" +
                             exactly(viewer.getSlerpRate()) + exactly(viewer.getSlerpProgress());
    std::string text;
    for (const auto& [key, line] : lines)
        text += key + ": " + line + "\n";
    return text;
}

} // namespace corvane::testing
