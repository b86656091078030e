#include <OgreCamera.h>
#include <OgreEntity.h>
#include <OgreLight.h>
#include <OgreSceneManager.h>
#include <OgreSkeletonInstance.h>
#include <filesystem>

#include "tests/viewer/scene/SceneLoadTest.h"

namespace corvane::testing {
namespace {

// Scenes and meshes written by other people's exporters. Whatever the loader reads is
// honoured, the rest is ignored, and a mesh that is not there skips only its entity.
class SharedMedia : public SceneLoadTest {
protected:
    void SetUp() override {
        if (!std::filesystem::is_directory(CORVANE_SHARED_MEDIA))
            GTEST_SKIP() << "no shared media at " << CORVANE_SHARED_MEDIA;
        SceneLoadTest::SetUp();
    }
    bool loadShared(const std::string& folder, const std::string& scene) {
        addLocation(std::string(CORVANE_SHARED_MEDIA) + "/" + folder);
        return load(scene);
    }
    std::size_t count(const char* type) { return scene->getMovableObjects(type).size(); }
    // The problem lines that hold `text`.
    std::size_t problemsWith(const char* text) {
        std::size_t lines = 0;
        for (std::size_t at = 0; (at = problems().find(text, at)) != std::string::npos; ++at)
            ++lines;
        return lines;
    }
    std::size_t missingMeshes() { return problemsWith("cannot load mesh"); }
    std::size_t problemLines() { return problemsWith("\n"); }
};

TEST_F(SharedMedia, ExporterLevelLoadsEveryMesh) {
    ASSERT_TRUE(loadShared("ponykart-testlevel", "testlevel.scene"));
    // The level's materials are not among the shared files: one line for each entity.
    EXPECT_EQ(problemsWith("'s sub-entity 0 is given material \""), 11u);
    EXPECT_EQ(problemLines(), 11u);
    EXPECT_EQ(count("Entity"), 11u);
    EXPECT_EQ(scene->getAmbientLight(), Ogre::ColourValue(0.8f, 0.8f, 0.8f));
    EXPECT_TRUE(scene->getSceneNode("node_testlevel_Line01")
                    ->getOrientation()
                    .equals(Ogre::Quaternion(Ogre::Degree(90), Ogre::Vector3::UNIT_X),
                            Ogre::Degree(0.01f)));
}

TEST_F(SharedMedia, ScenesWithoutTheirMeshesKeepLightsAndCameras) {
    ASSERT_TRUE(loadShared("jme", "ManyLights_Main.scene"));
    EXPECT_EQ(missingMeshes(), 1u);
    EXPECT_EQ(count("Light"), 16u);
    const Ogre::Light* lamp = scene->getLight("light_Spot.025");
    EXPECT_EQ(lamp->getAttenuation(), Ogre::Vector4f(5000, 1, 0.05f, 0));
    EXPECT_EQ(lamp->getDerivedPosition(), Ogre::Vector3(-24, 6, 8));
    const Ogre::Camera* camera = scene->getCamera("camera_Camera");
    EXPECT_EQ(camera->getProjectionType(), Ogre::PT_PERSPECTIVE);
    EXPECT_EQ(camera->getNearClipDistance(), 1.0f);
    EXPECT_EQ(camera->getFarClipDistance(), 1000.0f);

    scene->clearScene();
    ASSERT_TRUE(load("Car.scene"));
    EXPECT_EQ(missingMeshes(), 5u);
    EXPECT_TRUE(scene->hasSceneNode("node_front_left"));
    scene->clearScene();
    ASSERT_TRUE(load("DotScene.scene"));
    EXPECT_EQ(problems(), "");
    EXPECT_TRUE(scene->hasSceneNode("node_TestNode"));
}

TEST_F(SharedMedia, EnginesExampleAndAnAnimatedMesh) {
    ASSERT_TRUE(loadShared("ogre-example", "example.scene"));
    EXPECT_EQ(missingMeshes(), 1u);
    EXPECT_EQ(scene->getLight("light_Omni01")->getDiffuseColour(),
              Ogre::ColourValue(0.4f, 0.4f, 0.5f));

    addScene("sinbad.scene",
             "<scene><nodes><node name='hero'><scale x='2' y='2' z='2'/>"
             "<entity name='sinbad' meshfile='Sinbad.mesh'/></node>"
             "<node name='blade'><entity name='sword' meshfile='Sword.mesh'/></node>"
             "</nodes></scene>");
    addLocation(std::string(CORVANE_SHARED_MEDIA) + "/sinbad");
    ASSERT_TRUE(load("sinbad.scene"));
    // Without a render system the materials' script is not read: one line for each of the
    // materials that the body (7) and the sword (4) name.
    EXPECT_EQ(problemsWith("\", whose material \"Sinbad/"), 11u);
    EXPECT_EQ(problemLines(), 11u);
    const Ogre::Entity* sinbad = scene->getEntity("entity_sinbad");
    EXPECT_EQ(sinbad->getNumSubEntities(), 7u);
    ASSERT_TRUE(sinbad->hasSkeleton());
    EXPECT_EQ(sinbad->getSkeleton()->getNumBones(), 69u);
    EXPECT_TRUE(scene->hasEntity("entity_sword"));
}

} // namespace
} // namespace corvane::testing
