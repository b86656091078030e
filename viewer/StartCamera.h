#pragma once

#include "viewer/scene/SceneLoader.h"

class TiXmlElement;

namespace Ogre {
class Camera;
class SceneManager;
class SceneNode;
} // namespace Ogre

namespace corvane {

// Where the player camera stands once the scene has loaded, from the environment's
//   <camera start="origin|scene-camera|frame"/>
// "origin" (the default): as set up, at the origin looking along negative Z.
// "scene-camera": at the place and turn of the file's first camera, with the clip distances
// and field of view the file gives it; clip distances it does not give fit the scene. A
// file without a camera is framed.
// "frame": the whole loaded scene in view from in front and above (SceneFraming). A scene
// with nothing to see leaves the camera as set up.
class StartCamera {
public:
    enum class Mode { ORIGIN, SCENE_CAMERA, FRAME };

    // Reads "start" of the environment's "camera" element (null: no element); a value it
    // does not know gets one line and leaves "origin".
    void configure(const TiXmlElement* element);
    Mode mode() const { return startMode; }

    // Puts the player camera (carried by `node`) where the mode says.
    void place(Ogre::SceneNode& node, Ogre::Camera& camera, Ogre::SceneManager& sceneManager,
               const SceneLoader::FirstCamera& first) const;

private:
    Mode startMode = Mode::ORIGIN;
};

} // namespace corvane
