#include "viewer/control/NodeAnimationRegistry.h"

#include <OgreSceneManager.h>

#include "viewer/scene/NodeAnimationReader.h"

namespace corvane {

NodeAnimationRegistry::NodeAnimationRegistry(DiagnosticSink* sink) : sink(sink) {}

NodeAnimationRegistry::~NodeAnimationRegistry() = default;

void NodeAnimationRegistry::bind(Ogre::SceneManager& scene) {
    controls.clear();
    sceneManager = &scene;
    for (const auto& [nodeName, animations] : NodeAnimationReader::of(scene))
        controls.try_emplace(nodeName, scene, *scene.getSceneNode(nodeName), animations, sink);
}

NodeAnimationControl* NodeAnimationRegistry::find(const std::string& nodeName) {
    const auto found = controls.find(nodeName);
    return found != controls.end() ? &found->second : nullptr;
}

void NodeAnimationRegistry::update(double seconds) {
    if (controls.empty())
        return;
    for (auto& [name, control] : controls)
        control.update(seconds);
    sceneManager->_applySceneAnimations();
}

void NodeAnimationRegistry::resetMotion() {
    for (auto& [name, control] : controls)
        control.resetMotion();
}

} // namespace corvane
