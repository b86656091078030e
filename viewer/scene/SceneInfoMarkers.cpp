#include "viewer/scene/SceneInfoMarkers.h"

#include <OgreBillboard.h>
#include <OgreBillboardSet.h>
#include <OgreCamera.h>
#include <OgreEntity.h>
#include <OgreException.h>
#include <OgreLight.h>
#include <OgreMaterial.h>
#include <OgreRoot.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <OgreStringConverter.h>
#include <OgreSubEntity.h>

#include "platform/DebugOutput.h"
#include "viewer/control/MovableText.h"
#include "viewer/scene/SceneReport.h"

namespace corvane {

const char* const SceneInfoMarkers::FONT = "TrebuchetMSBold";

namespace {

constexpr const char* PREFIX = "dotSceneInfo_";
constexpr std::size_t FLARE_POOL = 20;
constexpr float FLARE_SIZE = 50.0f;

Ogre::SceneNode* infoNode(Ogre::SceneNode& parent, const std::string& name) {
    return parent.createChildSceneNode(PREFIX + std::string("node_") + name, Ogre::Vector3::ZERO,
                                       Ogre::Quaternion::IDENTITY);
}

std::string line(const char* label, const Ogre::Vector3& value) {
    return "\n" + std::string(label) + Ogre::StringConverter::toString(value);
}

std::string line(const char* label, const Ogre::Quaternion& value) {
    return "\n" + std::string(label) + Ogre::StringConverter::toString(value);
}

} // namespace

SceneInfoMarkers::SceneInfoMarkers(const SceneReport& report) : report(report) {}

SceneInfoMarkers::~SceneInfoMarkers() {
    destroyLabels();
}

void SceneInfoMarkers::destroyLabels() {
    const bool engineRunning = Ogre::Root::getSingletonPtr() != nullptr;
    for (MovableText* label : infoLabels) {
        // The info nodes stay in the scene manager: take the label off first.
        if (engineRunning && label->isAttached())
            label->detachFromParent();
        OGRE_DELETE label;
    }
    infoLabels.clear();
    // The labels go at the start of every load, which reports a failure of its own.
    labelFailureReported = false;
}

MovableText* SceneInfoMarkers::addLabel(Ogre::SceneNode& node, const std::string& name,
                                        const std::string& text) {
    const std::string caption = text.substr(0, text.find('\n'));
    MovableText* label = nullptr;
    try {
        label = OGRE_NEW MovableText(PREFIX + std::string("text_") + name, caption, FONT,
                                     CHARACTER_HEIGHT, Ogre::ColourValue::White);
    } catch (const Ogre::Exception& error) {
        // One line for the load, not one per label: the cause is the same for all.
        if (!labelFailureReported)
            report.error("SceneInfoMarkers::addLabel()", 0,
                         "no information labels in this load: " +
                             DebugOutput::oneLine(error.getDescription()));
        labelFailureReported = true;
        return nullptr;
    }
    label->setCaption(text);
    node.attachObject(label);
    infoLabels.push_back(label);
    return label;
}

Ogre::SceneNode* SceneInfoMarkers::addFlare(Ogre::SceneManager& scene, Ogre::SceneNode& node,
                                            const std::string& infoName, const std::string& name,
                                            const char* material, const Ogre::ColourValue& colour) {
    Ogre::BillboardSet* flares =
        scene.createBillboardSet(PREFIX + std::string("bset_") + name, FLARE_POOL);
    try {
        flares->setMaterialName(material,
                                Ogre::ResourceGroupManager::AUTODETECT_RESOURCE_GROUP_NAME);
    } catch (const Ogre::Exception& error) {
        report.error("SceneInfoMarkers::addFlare()", 0,
                     flares->getName() + " has no material \"" + material +
                         "\": " + DebugOutput::oneLine(error.getDescription()));
    }
    flares->setDefaultDimensions(FLARE_SIZE, FLARE_SIZE);
    Ogre::SceneNode* info = infoNode(node, infoName);
    info->attachObject(flares);
    flares->createBillboard(Ogre::Vector3::ZERO, colour);
    return info;
}

void SceneInfoMarkers::markTarget(Ogre::SceneManager& scene, Ogre::SceneNode& node,
                                  const std::string& name) {
    Ogre::SceneNode* info = infoNode(node, "node_" + name);
    const std::string axesName = PREFIX + std::string("axes_") + name;
    try {
        Ogre::Entity* axes = scene.createEntity(axesName, "axes.mesh");
        // The axes are drawn over the scene.
        axes->getSubEntity(0)->getMaterial()->setDepthCheckEnabled(false);
        info->attachObject(axes);
    } catch (const Ogre::Exception& error) {
        if (scene.hasEntity(axesName))
            throw;
        report.error("SceneInfoMarkers::markTarget()", 0,
                     axesName + " cannot load mesh \"axes.mesh\": " +
                         DebugOutput::oneLine(error.getDescription()));
    }
    addLabel(*info, name, "TargetNode : " + name + line("Position : ", node._getDerivedPosition()));
}

void SceneInfoMarkers::markEntity(Ogre::Entity& entity, Ogre::SceneNode& node) {
    const std::string& name = entity.getName();
    const std::string text = "Mesh : " + name + line("Position : ", node._getDerivedPosition()) +
                             line("Rotation : ", node._getDerivedOrientation()) +
                             line("Scale : ", node._getDerivedScale());
    addLabel(*infoNode(node, name), name, text);
}

void SceneInfoMarkers::markLight(Ogre::SceneManager& scene, Ogre::SceneNode& node,
                                 const std::string& name, const Ogre::ColourValue& colour) {
    Ogre::SceneNode* info = addFlare(scene, node, "light_" + name, name, "MRK/FlarePoint", colour);
    addLabel(*info, name,
             "Light : " + name + line("Position : ", node._getDerivedPosition()) +
                 line("Rotation : ", node._getDerivedOrientation()));
}

void SceneInfoMarkers::markCamera(Ogre::SceneManager& scene, Ogre::Camera& camera,
                                  Ogre::SceneNode& node) {
    const std::string& name = camera.getName();
    Ogre::SceneNode* info =
        addFlare(scene, node, "camera_" + name, name, "MRK/Camera", Ogre::ColourValue::White);
    addLabel(*info, name,
             "Camera : " + name + line("Position : ", node._getDerivedPosition()) +
                 line("Camera direction : ", camera.getDerivedDirection()));
}

} // namespace corvane
