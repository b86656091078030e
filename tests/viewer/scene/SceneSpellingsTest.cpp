#include <OgreAnimation.h>
#include <OgreAnimationState.h>
#include <OgreCamera.h>
#include <OgreEntity.h>
#include <OgreKeyFrame.h>
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

namespace corvane::testing {
namespace {

using SceneExports = SceneLoadTest;

// What today's exporters write beyond the format: light and camera "direction", fog, and
// node animations with keys in the node's parent or relative to the node.
TEST_F(SceneExports, DirectionsFogAndNodeAnimationsAreRead) {
    ASSERT_TRUE(loadNodes(
        "<node name='sun'><light name='sun' type='directional'><direction x='0' y='-1' z='0'/>"
        "</light><camera name='eye'><direction x='1' y='0' z='0'/></camera></node>"
        "<node name='door'><position x='10' y='0' z='0'/><animations>"
        "<animation name='open' length='2' enable='true' loop='true' interpolationMode='Spline'>"
        "<keyframe time='0'><position x='10' y='0' z='0'/></keyframe>"
        "<keyframe time='2'><translation x='10' y='4' z='0'/>"
        "<rotation qw='0' qx='0' qy='1' qz='0'/></keyframe></animation></animations></node>"
        "<node name='lid'><position x='10' y='0' z='0'/><animations>"
        "<animation name='open' length='2'>"
        "<keyframe time='0'><translation x='0' y='0' z='0'/></keyframe>"
        "<keyframe time='2'><translation x='0' y='4' z='0'/>"
        "<quaternion x='0' y='1' z='0' w='0'/></keyframe></animation></animations></node>"));
    EXPECT_EQ(scene->getLight("light_sun")->getDerivedDirection(), Ogre::Vector3::NEGATIVE_UNIT_Y);
    EXPECT_TRUE(scene->getCamera("camera_eye")
                    ->getDerivedDirection()
                    .positionEquals(Ogre::Vector3::UNIT_X));
    // Both keys say the same: 4 units up and half a turn from where the node stands.
    for (const char* node : {"node_door", "node_lid"}) {
        SCOPED_TRACE(node);
        const Ogre::Animation* animation = scene->getAnimation(std::string(node) + "/open");
        const Ogre::TransformKeyFrame* last = animation->getNodeTrack(0)->getNodeKeyFrame(1);
        EXPECT_EQ(last->getTranslate(), Ogre::Vector3(0, 4, 0));
        EXPECT_EQ(last->getRotation(), Ogre::Quaternion(0, 0, 1, 0));
        EXPECT_EQ(animation->getNodeTrack(0)->getAssociatedNode(), scene->getSceneNode(node));
    }
    EXPECT_EQ(scene->getAnimation("node_door/open")->getInterpolationMode(),
              Ogre::Animation::IM_SPLINE);
    const Ogre::AnimationState* door = scene->getAnimationState("node_door/open");
    const Ogre::AnimationState* lid = scene->getAnimationState("node_lid/open");
    EXPECT_TRUE(door->getEnabled() && door->getLoop());
    EXPECT_FALSE(lid->getEnabled() || lid->getLoop());
    EXPECT_EQ(problems(),
              "SceneLoader::processNode(): node_lid's animation \"open\" has keys relative to the "
              "node's place (its first key has no offset, turn or size); they are applied as "
              "such\n");
}

TEST_F(SceneExports, FogInEitherSpelling) {
    const struct {
        const char* fog;
        Ogre::FogMode mode;
        float density, start, end;
        Ogre::ColourValue colour;
        const char* problem;
    } rows[] = {
        {"<fog mode='linear' linear_start='10' linear_end='90'><colour_diffuse r='1' g='0' "
         "b='0'/></fog>",
         Ogre::FOG_LINEAR, 0.001f, 10, 90, Ogre::ColourValue::Red, ""},
        {"<fog mode='exp' expDensity='0.5'><colourDiffuse r='0' g='0' b='1'/></fog>", Ogre::FOG_EXP,
         0.5f, 0, 1, Ogre::ColourValue::Blue, ""},
        {"<fog mode='haze'/>", Ogre::FOG_NONE, 0.001f, 0, 1, Ogre::ColourValue::White,
         "SceneLoader::processEnvironment(): the fog's mode \"haze\" is none of \"none\", "
         "\"exp\", \"exp2\", \"linear\"; there is no fog\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.fog);
        scene->setFog(Ogre::FOG_NONE);
        addScene("fog.scene",
                 std::string("<scene><environment>") + row.fog + "</environment></scene>");
        ASSERT_TRUE(load("fog.scene"));
        EXPECT_EQ(problems(), row.problem);
        EXPECT_EQ(scene->getFogMode(), row.mode);
        if (row.mode == Ogre::FOG_NONE)
            continue;
        EXPECT_EQ(scene->getFogDensity(), row.density);
        EXPECT_EQ(scene->getFogStart(), row.start);
        EXPECT_EQ(scene->getFogEnd(), row.end);
        EXPECT_EQ(scene->getFogColour(), row.colour);
    }
}

TEST_F(SceneExports, AnimationsThatCannotPlayAreOneLineEach) {
    const std::string key = "<keyframe time='0'><position x='1'/></keyframe>";
    const struct {
        const char* name;
        std::string animation;
        const char* problem;
    } rows[] = {
        {"no name", "<animation length='1'>" + key + "</animation>",
         "node_n has an animation without a name; it is skipped"},
        {"no length", "<animation name='a' length='0'>" + key + "</animation>",
         "node_n's animation \"a\" has no length above 0 (\"0\"); it is skipped"},
        {"twice",
         "<animation name='a' length='1'>" + key +
             "</animation><animation name='a' "
             "length='1'>" +
             key + "</animation>",
         "node_n's animation \"a\" is defined already; the first stays"},
        {"a key past the end",
         "<animation name='a' length='1'>" + key + "<keyframe time='3'/></animation>",
         "the key at \"3\" of node_n's animation \"a\" is not within its length 1; the key is "
         "skipped"},
        {"a turn of no length",
         "<animation name='a' length='1'><keyframe time='0'><rotation qx='0' qy='0' qz='0' "
         "qw='0'/></keyframe>"
         "</animation>",
         "the key at \"0\" of node_n's animation \"a\" has a place, turn or size the engine "
         "cannot use; the key is skipped"},
        {"an unknown mode",
         "<animation name='a' length='1' interpolationMode='cubic'>" + key + "</animation>",
         "node_n's animation \"a\" has interpolationMode \"cubic\"; it is linear"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        scene->clearScene();
        scene->destroyAllAnimations();
        ASSERT_TRUE(
            loadNodes("<node name='n'><animations>" + row.animation + "</animations></node>"));
        const std::string problems = this->problems();
        EXPECT_EQ(problems.substr(0, problems.find('\n')),
                  std::string("SceneLoader::processNode(): ") + row.problem);
    }
}

} // namespace
} // namespace corvane::testing
