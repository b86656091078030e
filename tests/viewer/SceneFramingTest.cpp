#include <OgreMath.h>
#include <cmath>
#include <gtest/gtest.h>

#include "viewer/SceneFraming.h"

namespace corvane {
namespace {

// Every corner of the box lies inside the view's frustum, between its clip planes.
TEST(SceneFraming, TheViewFromInFrontAndAboveHoldsTheWholeBox) {
    const struct {
        const char* name;
        Ogre::Vector3 minimum;
        Ogre::Vector3 maximum;
        float aspect;
    } rows[] = {
        {"behind the origin", {-5, 0, 40}, {5, 10, 60}, 4.0f / 3.0f},
        {"a floor", {-100, 0, -100}, {100, 0, 100}, 4.0f / 3.0f},
        {"a tower in a tall window", {-1, -500, -1}, {1, 500, 1}, 0.5f},
        {"a wall in a tall window", {-100, 0, -1}, {100, 20, 1}, 0.5f},
        {"a point far away", {1e4f, 2e4f, -3e4f}, {1e4f, 2e4f, -3e4f}, 16.0f / 9.0f},
    };
    const float fieldOfView = Ogre::Math::DegreesToRadians(45.0f);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const Ogre::AxisAlignedBox box(row.minimum, row.maximum);
        const SceneFraming::View view = SceneFraming::frame(box, fieldOfView, row.aspect);
        EXPECT_GT(view.nearClip, 0.0f);
        // In front of the scene and above it, level: the view's right stays horizontal.
        EXPECT_GT(view.position.z, box.getCenter().z);
        EXPECT_GT(view.position.y, box.getCenter().y);
        EXPECT_NEAR((view.orientation * Ogre::Vector3::UNIT_X).y, 0.0f, 1e-5f);
        const float tanY = std::tan(fieldOfView / 2.0f);
        const float tanX = tanY * row.aspect;
        for (const Ogre::Vector3& corner : box.getAllCorners()) {
            const Ogre::Vector3 seen = view.orientation.Inverse() * (corner - view.position);
            const float depth = -seen.z;
            EXPECT_GT(depth, view.nearClip) << corner;
            EXPECT_LT(depth, view.farClip) << corner;
            EXPECT_LE(std::abs(seen.x), depth * tanX * 1.0001f) << corner;
            EXPECT_LE(std::abs(seen.y), depth * tanY * 1.0001f) << corner;
        }
    }
}

} // namespace
} // namespace corvane
