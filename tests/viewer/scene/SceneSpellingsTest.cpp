#include <OgreCamera.h>
#include <OgreEntity.h>
#include <OgreLight.h>
#include <OgreMaterialManager.h>
#include <OgreParticleSystem.h>
#include <OgreParticleSystemManager.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <OgreSubEntity.h>
#include <functional>

#include "tests/support/Utf16Text.h"
#include "tests/viewer/scene/SceneLoadTest.h"
#include "viewer/ResourceGroup.h"

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

// Today's items of an entity, and the particle systems on a node. A material, a
// sub-entity or a template that does not exist is one line; the rest of the node loads.
TEST_F(SceneSpellings, TodaysEntityItemsAndParticleSystems) {
    Ogre::MaterialManager::getSingleton().create("Oak", VIEWER_RESOURCE_GROUP);
    Ogre::ParticleSystemManager::getSingleton().createTemplate("Smoke", VIEWER_RESOURCE_GROUP);
    const std::string mesh = std::string(" meshFile='") + SceneLoadTest::mesh + "'";
    const auto material = [&](const char* entity) {
        return scene->getEntity(entity)->getSubEntity(0)->getMaterialName();
    };
    struct Row {
        std::string items;
        const char* line;
        std::function<bool()> result;
    };
    const Row rows[] = {
        {"<entity name='a' material='Oak'" + mesh + "/>", "",
         [&] { return material("entity_a") == "Oak"; }},
        {"<entity name='b'" + mesh +
             "><subentities><subentity index='0' materialName='Oak'/></subentities></entity>",
         "", [&] { return material("entity_b") == "Oak"; }},
        {"<entity name='c' castShadows='false'" + mesh + "/>", "",
         [&] { return !scene->getEntity("entity_c")->getCastShadows(); }},
        {"<entity name='d' material='Pine'" + mesh + "/>",
         "SceneLoader::processEntity(): entity_d is given material \"Pine\", which does not "
         "exist; it keeps the mesh's\n",
         [&] { return material("entity_d") != "Pine"; }},
        {"<entity name='e'" + mesh +
             "><subentities><subentity index='1' materialName='Oak'/></subentities></entity>",
         "SceneLoader::processEntity(): entity_e has no sub-entity \"1\" (its mesh "
         "\"triangle.mesh\" has 1); the \"subentity\" element is skipped\n",
         [&] { return material("entity_e") != "Oak"; }},
        {"<particleSystem name='smoke' template='Smoke'/><particleSystem name='old' file='Smoke'/>",
         "",
         [&] {
             return scene->getParticleSystem("particle_smoke")->getParentSceneNode() ==
                        scene->getSceneNode("node_n") &&
                    scene->hasParticleSystem("particle_old");
         }},
        {"<particleSystem name='fire' template='Fire'/><entity name='f'" + mesh + "/>",
         "SceneLoader::processParticleSystem(): particle_fire uses template \"Fire\", which "
         "does not exist; it is skipped\n",
         [&] {
             return !scene->hasParticleSystem("particle_fire") && scene->hasEntity("entity_f");
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.items);
        scene->clearScene();
        ASSERT_TRUE(loadNodes("<node name='n'>" + row.items + "</node>"));
        EXPECT_EQ(problems(), row.line);
        EXPECT_TRUE(row.result());
    }
    Ogre::ParticleSystemManager::getSingleton().removeTemplate("Smoke");
    Ogre::MaterialManager::getSingleton().remove("Oak", VIEWER_RESOURCE_GROUP);
}

// Names written as character references are the names a script types, in UTF-8, also in a
// scene saved as UTF-16.
TEST_F(SceneSpellings, NamesInUnicodeScenesAreUtf8) {
    addScene("declared.scene", "<?xml version='1.0' encoding='UTF-8'?><scene><nodes>"
                               "<node name='caf&#233;'/></nodes></scene>");
    ASSERT_TRUE(load("declared.scene"));
    EXPECT_TRUE(scene->hasSceneNode("node_caf\xC3\xA9"));
    addScene("wide.scene",
             Utf16Text::encode(u"<scene><nodes><node name='gr\u00fcn'/></nodes></scene>"));
    ASSERT_TRUE(load("wide.scene"));
    EXPECT_TRUE(scene->hasSceneNode("node_gr\xC3\xBCn"));
}

} // namespace
} // namespace corvane::testing
