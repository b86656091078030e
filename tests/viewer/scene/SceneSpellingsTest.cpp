#include <OgreCamera.h>
#include <OgreEntity.h>
#include <OgreLight.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>

#include "tests/viewer/scene/SceneLoadTest.h"

namespace corvane::testing {
namespace {

using SceneSpellings = SceneLoadTest;

TEST_F(SceneSpellings, TodaysSpellingsAreReadWhereTheFormatsAreAbsent) {
    addScene("today.scene",
             "<scene><environment><colourAmbient r='0.5' g='0.25' b='0'/></environment><nodes>"
             "<quaternion x='0' y='0' z='1' w='0'/>"
             "<node name='n'><quaternion x='0' y='1' z='0' w='0'/>"
             "<entity name='e' meshFile='triangle.mesh'/>"
             "<light name='l' type='spot'><colourDiffuse r='1' g='0' b='0'/>"
             "<colourSpecular r='0' g='1' b='0'/>"
             "<lightAttenuation range='50' constant='1' linear='0.5' quadratic='0'/>"
             "<lightRange inner='0.5' outer='1' falloff='3'/></light>"
             "<camera name='c'><clipping near='2' far='500'/></camera>"
             "<camera name='d'><clipping nearPlaneDist='3' farPlaneDist='600'/></camera>"
             "</node></nodes></scene>");
    ASSERT_TRUE(load("today.scene"));
    EXPECT_EQ(problems(), "");
    EXPECT_EQ(scene->getAmbientLight(), Ogre::ColourValue(0.5f, 0.25f, 0));
    const Ogre::SceneNode* node = scene->getSceneNode("node_n");
    EXPECT_EQ(node->getOrientation(), Ogre::Quaternion(0, 0, 1, 0));
    EXPECT_EQ(node->getParent()->getOrientation(), Ogre::Quaternion(0, 0, 0, 1));
    EXPECT_EQ(scene->getEntity("entity_e")->getParentSceneNode(), node);

    const Ogre::Light* light = scene->getLight("light_l");
    EXPECT_EQ(light->getDiffuseColour(), Ogre::ColourValue(1, 0, 0));
    EXPECT_EQ(light->getSpecularColour(), Ogre::ColourValue(0, 1, 0));
    EXPECT_EQ(light->getAttenuation(), Ogre::Vector4f(50, 1, 0.5f, 0));
    EXPECT_EQ(light->getSpotlightInnerAngle().valueRadians(), 0.5f);
    EXPECT_EQ(light->getSpotlightOuterAngle().valueRadians(), 1.0f);
    EXPECT_EQ(light->getSpotlightFalloff(), 3.0f);

    EXPECT_EQ(scene->getCamera("camera_c")->getNearClipDistance(), 2.0f);
    EXPECT_EQ(scene->getCamera("camera_c")->getFarClipDistance(), 500.0f);
    EXPECT_EQ(scene->getCamera("camera_d")->getNearClipDistance(), 3.0f);
    EXPECT_EQ(scene->getCamera("camera_d")->getFarClipDistance(), 600.0f);
}

TEST_F(SceneSpellings, TheFormatsSpellingWinsWhenBothAreThere) {
    ASSERT_TRUE(loadNodes(
        "<node name='n'><quaternion x='0' y='1' z='0' w='0'/><rotation qx='0' qy='0' qz='1' "
        "qw='0'/><entity name='e' meshfile='triangle.mesh' meshFile='robot.mesh'/>"
        "<light name='l'><colourDiffuse r='1' g='0' b='0'/><colour_diffuse r='0' g='0' b='1'/>"
        "<lightRange inner='0.5' outer='1' falloff='1'/>"
        "<light_range inner='30' outer='60' falloff='1'/></light>"
        "<camera name='c' nearClipDistance='4'><clipping near='2' far='500'/></camera></node>"));
    EXPECT_EQ(problems(), "");
    EXPECT_EQ(scene->getSceneNode("node_n")->getOrientation(), Ogre::Quaternion(0, 0, 0, 1));
    EXPECT_TRUE(scene->hasEntity("entity_e"));
    const Ogre::Light* light = scene->getLight("light_l");
    EXPECT_EQ(light->getDiffuseColour(), Ogre::ColourValue(0, 0, 1));
    EXPECT_FLOAT_EQ(light->getSpotlightOuterAngle().valueDegrees(), 60);
    EXPECT_EQ(scene->getCamera("camera_c")->getNearClipDistance(), 4.0f);
    EXPECT_EQ(scene->getCamera("camera_c")->getFarClipDistance(), 500.0f);
}

} // namespace
} // namespace corvane::testing
