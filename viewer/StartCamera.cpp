#include "viewer/StartCamera.h"

#include <OgreCamera.h>
#include <OgreSceneNode.h>
#include <cmath>
#include <tinyxml.h>

#include "platform/DebugOutput.h"
#include "viewer/SceneFraming.h"

namespace corvane {

namespace {

bool isFinite(const Ogre::Vector3& value) {
    return std::isfinite(value.squaredLength());
}

// At the file's first camera, with its view; false, changing nothing, when there is none
// or it lies beyond what a float holds (a node of a huge place or scale), where it would
// spread its overflow through the whole scene graph.
bool takeSceneCamera(Ogre::SceneNode& node, Ogre::Camera& camera,
                     const Ogre::AxisAlignedBox& bounds, const SceneLoader::FirstCamera& first) {
    if (first.camera == nullptr)
        return false;
    const Ogre::Vector3 position = first.camera->getDerivedPosition();
    const Ogre::Quaternion orientation = first.camera->getDerivedOrientation();
    if (!isFinite(position) || orientation.isNaN())
        return false;
    node.setPosition(position);
    node.setOrientation(orientation);
    if (first.fieldOfView)
        camera.setFOVy(Ogre::Radian(*first.fieldOfView));
    float nearClip = camera.getNearClipDistance();
    float farClip = camera.getFarClipDistance();
    if (float fittedNear = 0.0f, fittedFar = 0.0f; !bounds.isNull()) {
        SceneFraming::clipFor(bounds, position, fittedNear, fittedFar);
        if (std::isfinite(fittedFar)) {
            nearClip = fittedNear;
            farClip = fittedFar;
        }
    }
    camera.setNearClipDistance(first.nearClip.value_or(nearClip));
    camera.setFarClipDistance(first.farClip.value_or(farClip));
    return true;
}

void frameScene(Ogre::SceneNode& node, Ogre::Camera& camera, const Ogre::AxisAlignedBox& bounds) {
    if (bounds.isNull())
        return;
    const SceneFraming::View view =
        SceneFraming::frame(bounds, camera.getFOVy().valueRadians(), camera.getAspectRatio());
    // Entities at both ends of the float range have no view that holds them all.
    if (!isFinite(view.position) || !std::isfinite(view.farClip))
        return;
    node.setPosition(view.position);
    node.setOrientation(view.orientation);
    camera.setNearClipDistance(view.nearClip);
    camera.setFarClipDistance(view.farClip);
}

} // namespace

void StartCamera::configure(const TiXmlElement* element) {
    if (element == nullptr)
        return;
    const char* start = element->Attribute("start");
    const std::string value = start != nullptr ? start : "";
    if (value == "origin")
        startMode = Mode::ORIGIN;
    else if (value == "scene-camera")
        startMode = Mode::SCENE_CAMERA;
    else if (value == "frame")
        startMode = Mode::FRAME;
    else
        DebugOutput::line("SceneViewer: a \"camera\" element (row " +
                          std::to_string(element->Row()) + ") has start=\"" + value +
                          "\", none of \"origin\", \"scene-camera\", \"frame\"; the camera "
                          "starts at the origin");
}

void StartCamera::place(Ogre::SceneNode& node, Ogre::Camera& camera,
                        Ogre::SceneManager& sceneManager,
                        const SceneLoader::FirstCamera& first) const {
    if (startMode == Mode::ORIGIN)
        return;
    const Ogre::AxisAlignedBox bounds = SceneFraming::boundsOf(sceneManager);
    if (startMode == Mode::SCENE_CAMERA && takeSceneCamera(node, camera, bounds, first))
        return;
    frameScene(node, camera, bounds);
}

} // namespace corvane
