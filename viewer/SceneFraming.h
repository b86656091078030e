#pragma once

#include <OgreAxisAlignedBox.h>
#include <OgreQuaternion.h>
#include <OgreVector.h>

namespace Ogre {
class SceneManager;
}

namespace corvane {

// A view that shows a whole scene: from in front (the positive Z side, where the engine's
// cameras look from) and above, far enough back that the sphere around the scene's box
// fits the narrower of the two view angles. Clip distances follow the scene's size, with
// room to fly through it and away from it.
class SceneFraming {
public:
    struct View {
        Ogre::Vector3 position;
        Ogre::Quaternion orientation; // the camera looks along its negative Z, up stays up
        float nearClip;
        float farClip;
    };

    // Degrees above the horizontal that the view looks down from.
    static constexpr float ELEVATION_DEGREES = 30.0f;

    // The box around every entity in the scene; null when there is none.
    static Ogre::AxisAlignedBox boundsOf(Ogre::SceneManager& sceneManager);
    // The view of `box` (finite, not null) with a vertical field of view of `fieldOfView`
    // radians and a width `aspect` times the height.
    static View frame(const Ogre::AxisAlignedBox& box, float fieldOfView, float aspect);
    // Clip distances for a camera at `position` that is to see all of `box`.
    static void clipFor(const Ogre::AxisAlignedBox& box, const Ogre::Vector3& position,
                        float& nearClip, float& farClip);
};

} // namespace corvane
