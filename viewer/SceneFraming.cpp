#include "viewer/SceneFraming.h"

#include <OgreEntity.h>
#include <OgreMath.h>
#include <OgreSceneManager.h>
#include <algorithm>
#include <cmath>

namespace corvane {

namespace {

// A scene of one point still gets a view, of a unit around it.
constexpr float SMALLEST_RADIUS = 0.5f;
// The near plane at a hundredth of the scene's size keeps the depth buffer's precision
// while the camera can come close to what it looks at; the far plane lies four times
// beyond the scene's far side, so that flying away does not cut it off at once.
constexpr float NEAR_SHARE = 0.01f;
constexpr float FAR_FACTOR = 4.0f;

float radiusOf(const Ogre::AxisAlignedBox& box) {
    return std::max(box.getHalfSize().length(), SMALLEST_RADIUS);
}

} // namespace

Ogre::AxisAlignedBox SceneFraming::boundsOf(Ogre::SceneManager& sceneManager) {
    Ogre::AxisAlignedBox bounds;
    // Entities only: lights have no size, and a camera's box is its whole view volume.
    for (const auto& [name, movable] : sceneManager.getMovableObjects("Entity")) {
        if (!movable->isInScene())
            continue;
        // A box beyond what a float holds (an entity of a huge size or place) would make
        // the view itself overflow: such entities are left out of the framing.
        const Ogre::AxisAlignedBox& box = movable->getWorldBoundingBox(true);
        if (box.isFinite() && std::isfinite(box.getHalfSize().squaredLength()) &&
            std::isfinite(box.getCenter().squaredLength()))
            bounds.merge(box);
    }
    return bounds;
}

SceneFraming::View SceneFraming::frame(const Ogre::AxisAlignedBox& box, float fieldOfView,
                                       float aspect) {
    const float radius = radiusOf(box);
    const float horizontal = 2.0f * std::atan(std::tan(fieldOfView / 2.0f) * aspect);
    const float angle = std::min(fieldOfView, horizontal);
    const float distance = radius / std::sin(angle / 2.0f);

    const float elevation = Ogre::Math::DegreesToRadians(ELEVATION_DEGREES);
    const Ogre::Vector3 back(0.0f, std::sin(elevation), std::cos(elevation));
    const Ogre::Vector3 right = Ogre::Vector3::UNIT_Y.crossProduct(back).normalisedCopy();
    const Ogre::Vector3 up = back.crossProduct(right);

    View view{box.getCenter() + back * distance, Ogre::Quaternion(right, up, back), 0.0f, 0.0f};
    clipFor(box, view.position, view.nearClip, view.farClip);
    return view;
}

void SceneFraming::clipFor(const Ogre::AxisAlignedBox& box, const Ogre::Vector3& position,
                           float& nearClip, float& farClip) {
    const float radius = radiusOf(box);
    nearClip = radius * NEAR_SHARE;
    farClip = (position.distance(box.getCenter()) + radius) * FAR_FACTOR;
}

} // namespace corvane
