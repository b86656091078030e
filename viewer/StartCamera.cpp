#include "viewer/StartCamera.h"

#include <OgreCamera.h>
#include <OgreSceneNode.h>
#include <tinyxml.h>

#include "platform/DebugOutput.h"
#include "viewer/SceneFraming.h"

namespace corvane {

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
    if (startMode == Mode::SCENE_CAMERA && first.camera != nullptr) {
        const Ogre::Vector3 position = first.camera->getDerivedPosition();
        node.setPosition(position);
        node.setOrientation(first.camera->getDerivedOrientation());
        if (first.fieldOfView)
            camera.setFOVy(Ogre::Radian(*first.fieldOfView));
        float nearClip = camera.getNearClipDistance();
        float farClip = camera.getFarClipDistance();
        if (!bounds.isNull())
            SceneFraming::clipFor(bounds, position, nearClip, farClip);
        camera.setNearClipDistance(first.nearClip.value_or(nearClip));
        camera.setFarClipDistance(first.farClip.value_or(farClip));
        return;
    }
    if (bounds.isNull())
        return;
    const SceneFraming::View view =
        SceneFraming::frame(bounds, camera.getFOVy().valueRadians(), camera.getAspectRatio());
    node.setPosition(view.position);
    node.setOrientation(view.orientation);
    camera.setNearClipDistance(view.nearClip);
    camera.setFarClipDistance(view.farClip);
}

} // namespace corvane
