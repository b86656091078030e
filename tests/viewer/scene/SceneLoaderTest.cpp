#include <OgreCamera.h>
#include <OgreEntity.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>

#include "tests/viewer/scene/SceneLoadTest.h"

namespace corvane::testing {
namespace {

using SceneLoader = SceneLoadTest;

std::string autoName(std::uint32_t number) {
    return "dsl_autoname_" + std::to_string(number);
}

std::string entity(const std::string& attributes) {
    return "<entity " + attributes + " meshfile='" + SceneLoadTest::mesh + "'/>";
}

TEST_F(SceneLoader, AutomaticNamesFollowTheOrderOfProcessing) {
    const std::uint32_t n = corvane::SceneLoader::nextAutoNameNumber();
    ASSERT_TRUE(loadNodes("<node>" + entity("") + "</node>" +
                          "<node><node name='child'/><camera/><entity meshfile=''/><light/>" +
                          entity("name=''") + "</node><node name=''/>"));
    EXPECT_TRUE(scene->hasSceneNode("node_" + autoName(n)));
    EXPECT_TRUE(scene->hasEntity("entity_" + autoName(n + 1)));
    EXPECT_EQ(scene->getEntity("entity_" + autoName(n + 1))->getParentSceneNode()->getName(),
              "node_" + autoName(n));
    // The second node's objects in document order, then its child node.
    EXPECT_TRUE(scene->hasSceneNode("node_" + autoName(n + 2)));
    EXPECT_TRUE(scene->hasCamera("camera_" + autoName(n + 3)));
    EXPECT_FALSE(scene->hasEntity("entity_" + autoName(n + 4)));
    EXPECT_TRUE(scene->hasLight("light_" + autoName(n + 5)));
    EXPECT_TRUE(scene->hasEntity("entity_" + autoName(n + 6)));
    EXPECT_EQ(scene->getSceneNode("node_child")->getParent()->getName(), "node_" + autoName(n + 2));
    EXPECT_TRUE(scene->hasSceneNode("node_"));
    EXPECT_EQ(corvane::SceneLoader::nextAutoNameNumber(), n + 7);
}

TEST_F(SceneLoader, NodesElementPlacesTheRootAndOnlyTheFirstOneIsRead) {
    Ogre::SceneNode* root = scene->getRootSceneNode()->createChildSceneNode("given");
    addScene("test.scene", "<scene><nodes><node name='a'><position x='1'/></node>"
                           "<position x='1' y='2' z='3'/><scale x='2' y='2' z='2'/></nodes>"
                           "<nodes><node name='b'/></nodes></scene>");
    ASSERT_TRUE(load("test.scene", root));
    EXPECT_EQ(scene->getSceneNode("node_a")->getParent(), root);
    EXPECT_EQ(root->getInitialPosition(), Ogre::Vector3(1, 2, 3));
    EXPECT_EQ(root->getInitialScale(), Ogre::Vector3(2, 2, 2));
    EXPECT_EQ(scene->getSceneNode("node_a")->_getDerivedPosition(), Ogre::Vector3(3, 2, 3));
    EXPECT_FALSE(scene->hasSceneNode("node_b"));

    // Without a given root the tree hangs under a new unnamed child of the scene's root.
    addScene("other.scene", "<scene><nodes><node name='c'/></nodes></scene>");
    ASSERT_TRUE(load("other.scene"));
    const Ogre::Node* made = scene->getSceneNode("node_c")->getParent();
    EXPECT_EQ(made->getParent(), scene->getRootSceneNode());
    EXPECT_EQ(made->getName(), "");
}

TEST_F(SceneLoader, EnvironmentIsReadFirstWhereverItStands) {
    scene->setAmbientLight(Ogre::ColourValue(0.1f, 0.2f, 0.3f));
    ASSERT_TRUE(loadNodes(""));
    EXPECT_EQ(scene->getAmbientLight(), Ogre::ColourValue(0.1f, 0.2f, 0.3f));
    EXPECT_EQ(loader.getMovementSpeed(), -1.0f);

    const std::string nodes = "<nodes><node name='n'>" + entity("name='rock' static='true'") +
                              entity("name='leaf' static='false'") + "</node></nodes>";
    addScene("collide.scene", "<scene>" + nodes +
                                  "<environment><movement speed='7' camera_collide='true'/>"
                                  "</environment></scene>");
    ASSERT_TRUE(load("collide.scene"));
    EXPECT_EQ(scene->getAmbientLight(), Ogre::ColourValue::Black);
    EXPECT_EQ(loader.getMovementSpeed(), 7.0f);
    EXPECT_TRUE(loader.getCameraCollide());
    ASSERT_EQ(loader.getStaticEntities().size(), 1u);
    EXPECT_EQ(loader.getStaticEntities()[0]->getName(), "entity_rock");

    // "static" counts only while camera collision is on; a new load starts afresh.
    addScene("walk.scene", "<scene><environment><colour_ambient r='1' g='0.5' b='0'/>"
                           "<movement speed='2'/></environment>" +
                               nodes + "</scene>");
    scene->clearScene();
    ASSERT_TRUE(load("walk.scene"));
    EXPECT_EQ(scene->getAmbientLight(), Ogre::ColourValue(1, 0.5f, 0));
    EXPECT_FALSE(loader.getCameraCollide());
    EXPECT_TRUE(loader.getStaticEntities().empty());
}

TEST_F(SceneLoader, WritesEveryResourceNameInByteOrder) {
    for (const char* name : {"b.scene", "a.scene", "C.scene"})
        addScene(name, "<scene/>");
    addScene("notes.txt", "");
    EXPECT_TRUE(load("a.scene"));
    EXPECT_EQ(diagnostics, "C.scene\na.scene\nb.scene\n");
}

// Every bad input gives one line, keeps what it can and leaves the loader usable.
TEST_F(SceneLoader, BadInputGivesOneLineAndSkipsOnlyWhatItNames) {
    struct Row {
        const char* name;
        const char* text;
        const char* requested;
        bool loaded;
        const char* problem;
    };
    const Row rows[] = {
        {"not XML", "<scene><nodes>\n  <node name='a'></nodes></scene>", "test.scene", false,
         "SceneLoader::load(): cannot parse test.scene: Error reading end tag. (row 2, column "
         "24); \"node\" opened at row 2, column 3 is not closed\n"},
        {"empty file", "", "test.scene", false,
         "SceneLoader::load(): cannot parse test.scene: Error document empty. (row 0, column 0)\n"},
        {"no element", "<?xml version='1.0'?><!-- nothing -->", "test.scene", false,
         "SceneLoader::load(): test.scene has no scene element\n"},
        {"unknown name", "<scene/>", "missing.scene", false,
         "SceneLoader::load(): there is no scene resource named \"missing.scene\"\n"},
        {"letter case", "<scene/>", "Test.scene", false,
         "SceneLoader::load(): there is no scene resource named \"Test.scene\"\n"},
        {"missing mesh",
         "<scene><nodes><node name='a'><entity name='robot' meshfile='robot.mesh'/>"
         "<entity name='ok' meshfile='triangle.mesh'/></node><node name='b'/></nodes></scene>",
         "test.scene", true,
         "SceneLoader::processEntity(): entity_robot cannot load mesh \"robot.mesh\": Cannot "
         "locate resource robot.mesh in resource group OgreAutodetect.\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        scene->clearScene();
        addScene("test.scene", row.text);
        EXPECT_EQ(load(row.requested), row.loaded);
        EXPECT_EQ(problems(), row.problem);
        const Ogre::Node* root = scene->getRootSceneNode()->getChild(0);
        EXPECT_EQ(root->numChildren(), row.loaded ? 2u : 0u);
    }
    EXPECT_TRUE(scene->hasEntity("entity_ok"));
    EXPECT_FALSE(scene->hasEntity("entity_robot"));

    // Without a scene manager nothing happens at all.
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(loader.load("test.scene", nullptr, nullptr, false, nullptr));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

// An item the engine cannot take skips itself alone: one line, and the rest of the file
// (later siblings, other sections) still loads.
TEST_F(SceneLoader, WhatTheEngineCannotTakeSkipsOnlyThatItem) {
    struct Row {
        const char* name;
        std::string nodes;
        const char* problem;
        const char* skipped; // a node that must not exist afterwards
    };
    const Row rows[] = {
        {"node name twice",
         "<node name='a'/><node name='b'><node name='a'><node name='x'/>"
         "</node></node>",
         "SceneLoader::processNode(): there is already a node node_a; the node and its "
         "children are skipped\n",
         "node_x"},
        {"entity name twice",
         "<node name='b'>" + entity("name='e'") + entity("name='e'") + "</node>",
         "SceneLoader::processEntity(): there is already an entity entity_e; this one is "
         "skipped\n",
         nullptr},
        {"light name twice", "<node name='b'><light name='l'/><light name='l'/></node>",
         "SceneLoader::processLight(): there is already a light light_l; this one is skipped\n",
         nullptr},
        {"camera name twice",
         "<node name='b'><camera name='c'/></node><node name='x'>"
         "<camera name='c'/></node>",
         "SceneLoader::processCamera(): there is already a camera camera_c; this one is "
         "skipped\n",
         nullptr},
        {"position not a number", "<node name='b'><position x='nan' y='1' z='2'/></node>",
         "SceneLoader::load(): node_b has a \"position\" that is not finite; it is skipped\n",
         nullptr},
        {"scale infinite", "<node name='b'><scale x='1e39' y='1' z='1'/></node>",
         "SceneLoader::load(): node_b has a \"scale\" that is not finite; it is skipped\n",
         nullptr},
        {"near clip behind the camera",
         "<node name='b'><camera name='n' nearClipDistance='-1' farClipDistance='inf'/></node>",
         "SceneLoader::processCamera(): camera_n cannot clip nearer than \"-1\"; it is "
         "skipped\n"
         "SceneLoader::processCamera(): camera_n cannot clip farther than \"inf\"; it is "
         "skipped\n",
         nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        scene->clearScene(); // cameras stay: each row names its own
        ASSERT_TRUE(loadNodes(row.nodes + "<node name='last'/>"));
        EXPECT_EQ(problems(), row.problem);
        EXPECT_TRUE(scene->hasSceneNode("node_b"));
        EXPECT_TRUE(scene->hasSceneNode("node_last"));
        if (row.skipped != nullptr) {
            EXPECT_FALSE(scene->hasSceneNode(row.skipped));
        }
    }
    // What was skipped leaves the item as it was made.
    EXPECT_EQ(scene->getCamera("camera_n")->getNearClipDistance(), 100.0f);
    scene->clearScene();
    ASSERT_TRUE(loadNodes("<node name='b'><position x='1' y='2' z='3'/>"
                          "<position x='inf' y='0' z='0'/></node>"));
    EXPECT_EQ(scene->getSceneNode("node_b")->getPosition(), Ogre::Vector3(1, 2, 3));
}

} // namespace
} // namespace corvane::testing
