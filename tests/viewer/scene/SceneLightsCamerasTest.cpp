#include <OgreCamera.h>
#include <OgreLight.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>

#include "tests/viewer/scene/SceneLoadTest.h"

namespace corvane::testing {
namespace {

using SceneLights = SceneLoadTest;
using SceneCameras = SceneLoadTest;

TEST_F(SceneLights, TypeVisibilityColoursAndRangesComeFromTheFile) {
    ASSERT_TRUE(
        loadNodes("<node name='n'><position x='1' y='2' z='3'/>"
                  "<light name='plain'/><light name='sun' type='directional' visible='false'/>"
                  "<light name='aimed' type='targetDirectional'/><light name='cone' type='spot'/>"
                  "<light name='aimedCone' type='targetSpot'/><light name='odd' type='Spot'/>"
                  "<light name='full' type='spot'><colour_diffuse r='1' g='0.5' b='0'/>"
                  "<colour_specular r='0' g='0' b='2'/>"
                  "<light_attenuation range='100' constant='1' linear='0.5' quadratic='0.25'/>"
                  "<light_range inner='30' outer='40' falloff='2'/>"
                  "<normal x='0' y='-1' z='0'/><position x='0' y='0' z='5'/></light></node>"));
    const std::pair<const char*, Ogre::Light::LightTypes> types[] = {
        {"plain", Ogre::Light::LT_POINT},         {"sun", Ogre::Light::LT_DIRECTIONAL},
        {"aimed", Ogre::Light::LT_DIRECTIONAL},   {"cone", Ogre::Light::LT_SPOTLIGHT},
        {"aimedCone", Ogre::Light::LT_SPOTLIGHT}, {"odd", Ogre::Light::LT_POINT}};
    for (const auto& [name, type] : types)
        EXPECT_EQ(scene->getLight(std::string("light_") + name)->getType(), type) << name;
    EXPECT_TRUE(scene->getLight("light_plain")->getVisible());
    EXPECT_FALSE(scene->getLight("light_sun")->getVisible());

    const Ogre::Light* full = scene->getLight("light_full");
    EXPECT_EQ(full->getParentSceneNode()->getName(), "node_n");
    EXPECT_EQ(full->getDiffuseColour(), Ogre::ColourValue(1, 0.5f, 0));
    EXPECT_EQ(full->getSpecularColour(), Ogre::ColourValue(0, 0, 2));
    EXPECT_EQ(full->getAttenuation(), Ogre::Vector4f(100, 1, 0.5f, 0.25f));
    EXPECT_FLOAT_EQ(full->getSpotlightInnerAngle().valueDegrees(), 30);
    EXPECT_FLOAT_EQ(full->getSpotlightOuterAngle().valueDegrees(), 40);
    EXPECT_EQ(full->getSpotlightFalloff(), 2);
    EXPECT_EQ(full->getDerivedDirection(), Ogre::Vector3::NEGATIVE_UNIT_Y);
    EXPECT_EQ(full->getDerivedPosition(), Ogre::Vector3(1, 2, 8));
}

// A light aims from its place in the world at its target's place within the target's
// parent; targets that do not exist yet leave the "normal" in place.
TEST_F(SceneLights, TargetsOverrideTheNormalOnlyWhenTheyAlreadyExist) {
    ASSERT_TRUE(loadNodes(
        "<node name='base'><position x='0' y='100' z='0'/>"
        "<node name='target'><position x='10' y='0' z='0'/></node></node>"
        "<node name='lamp'>"
        "<light name='aimed' targetNodeName='target'><normal x='0' y='1' z='0'/></light>"
        "<light name='unknown' targetNodeName='nowhere'><normal x='0' y='1' z='0'/></light>"
        "<light name='early' targetNodeName='later'/>"
        "<light name='inner' targetNodeName='child'/>"
        "<light name='untargeted' targetNodeName=''/>"
        "<position x='0' y='0' z='10'/><node name='child'/></node><node name='later'/>"));
    EXPECT_EQ(scene->getLight("light_aimed")->getDerivedDirection(), Ogre::Vector3(10, 0, -10));
    EXPECT_EQ(scene->getLight("light_unknown")->getDerivedDirection(), Ogre::Vector3::UNIT_Y);
    for (const char* name : {"light_early", "light_inner", "light_untargeted"})
        EXPECT_EQ(scene->getLight(name)->getDerivedDirection(), Ogre::Vector3::NEGATIVE_UNIT_Z)
            << name;
}

TEST_F(SceneCameras, ProjectionClipsPlacementAndTargetComeFromTheFile) {
    ASSERT_TRUE(loadNodes(
        "<node name='target'><position x='10' y='0' z='0'/></node>"
        "<node name='n'><position x='0' y='5' z='0'/>"
        "<camera name='plain'/><camera name='wide' projectionType='perspective'"
        " nearClipDistance='0.5' farClipDistance='300'/>"
        "<camera name='capital' projectionType='Perspective'/>"
        "<camera name='placed'><normal x='1' y='0' z='0'/><position x='0' y='0' z='1'/></camera>"
        "<camera name='aimed' targetNodeName='target'><normal x='0' y='1' z='0'/>"
        "<position x='0' y='0' z='-5'/></camera>"
        "<camera name='lost' targetNodeName='nowhere'><normal x='0' y='0' z='1'/></camera>"
        "</node>"));
    EXPECT_EQ(scene->getCamera("camera_plain")->getProjectionType(), Ogre::PT_ORTHOGRAPHIC);
    EXPECT_EQ(scene->getCamera("camera_capital")->getProjectionType(), Ogre::PT_ORTHOGRAPHIC);
    const Ogre::Camera* wide = scene->getCamera("camera_wide");
    EXPECT_EQ(wide->getProjectionType(), Ogre::PT_PERSPECTIVE);
    EXPECT_EQ(wide->getNearClipDistance(), 0.5f);
    EXPECT_EQ(wide->getFarClipDistance(), 300.0f);

    const Ogre::Camera* placed = scene->getCamera("camera_placed");
    EXPECT_TRUE(placed->getDerivedDirection().positionEquals(Ogre::Vector3::UNIT_X, 1e-6f));
    EXPECT_EQ(placed->getDerivedPosition(), Ogre::Vector3(0, 5, 1));
    const Ogre::Camera* aimed = scene->getCamera("camera_aimed");
    EXPECT_TRUE(aimed->getDerivedDirection().positionEquals(
        Ogre::Vector3(10, -5, 5).normalisedCopy(), 1e-6f));
    EXPECT_TRUE(scene->getCamera("camera_lost")
                    ->getDerivedDirection()
                    .positionEquals(Ogre::Vector3::UNIT_Z, 1e-6f));
}

} // namespace
} // namespace corvane::testing
