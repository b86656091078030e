#include <Ogre.h>
#include <tinyxml.h>

#include "framework/ISceneObject.h"

#include "tests/viewer/ViewerFixture.h"

namespace corvane {
namespace {

using testing::ViewerTest;

// A box of the generated media ahead of the camera, lit from the camera's place.
const char* const BOX_SCENE = R"(<scene>
  <environment><colour_ambient r="0.3" g="0.3" b="0.3"/></environment>
  <nodes>
    <node name="box">
      <position x="0" y="0" z="-30"/>
      <entity name="box" meshfile="box.mesh"/>
    </node>
    <node name="lamp">
      <light name="lamp" type="point"><colour_diffuse r="1" g="1" b="1"/></light>
    </node>
  </nodes>
</scene>)";

// Scene files in the application folder's scene/, with the demo's media (the generated
// media less what the core archive holds).
class SceneTest : public ViewerTest {
protected:
    void startWith(const std::string& file, const std::string& text) {
        folder->write("scene/" + file, text);
        viewer->addResourceLocation("../../scene", "FileSystem");
        viewer->addResourceLocation(CORVANE_DEMO_FOLDER "/media", "FileSystem");
        viewer->setSceneFile(file);
        start();
    }
};

TEST_F(SceneTest, TheLoadedSceneIsWhatTheCameraSees) {
    startWith("box.scene", BOX_SCENE);
    EXPECT_TRUE(viewer->getSceneManager()->hasEntity("entity_box"));
    ASSERT_TRUE(frame(0.0f));
    EXPECT_GT(pixel(0.5f, 0.5f).brightest(), 32);
    EXPECT_TRUE(pixel(0.02f, 0.02f).isBlack());

    // Up and away from the box: the centre is empty.
    ICameraControl* camera = viewer.get();
    camera->setCameraPosition({0, 40, 0});
    ASSERT_TRUE(frame(0.0f));
    EXPECT_TRUE(pixel(0.5f, 0.5f).isBlack());
}

// The player camera starts as the file's first camera, and the timeline puts it back there.
TEST_F(SceneTest, TheSceneCameraStartTakesTheFilesFirstCameraWithItsViewForTheWholeRun) {
    TiXmlDocument environment;
    environment.Parse("<environment><camera start=\"scene-camera\"/></environment>");
    viewer->parseEnvironment(environment.RootElement());
    startWith("eyes.scene", R"(<scene><nodes>
      <node name="box"><position x="0" y="0" z="-30"/>
        <entity name="box" meshfile="box.mesh"/></node>
      <node name="eye"><position x="10" y="20" z="30"/>
        <camera name="eye" fov="1.1" nearClipDistance="2" targetNodeName="box"/></node>
      <node name="other"><camera name="other" fov="30" farClipDistance="50"/></node>
    </nodes></scene>)");
    const Ogre::Camera* eye = viewer->getSceneManager()->getCamera("camera_eye");
    const Ogre::Camera* player = viewer->getCamera();
    EXPECT_EQ(player->getDerivedPosition(), Ogre::Vector3(10, 20, 30));
    EXPECT_TRUE(
        player->getDerivedOrientation().equals(eye->getDerivedOrientation(), Ogre::Degree(0.01f)));
    EXPECT_FLOAT_EQ(player->getFOVy().valueRadians(), 1.1f);
    EXPECT_EQ(player->getNearClipDistance(), 2.0f);
    // The file gives no far plane: it lies beyond the box, seen from the camera.
    EXPECT_GT(player->getFarClipDistance(), Ogre::Vector3(10, 20, 60).length());

    ICameraControl* camera = viewer.get();
    camera->setCameraPosition({0, 0, 0});
    ASSERT_TRUE(viewer->restoreLoadedScene());
    EXPECT_EQ(player->getDerivedPosition(), Ogre::Vector3(10, 20, 30));
}

// Entities at both ends of the float range have no view that holds them: the camera stays
// where it was set up, and the frames go on.
TEST_F(SceneTest, TheFrameStartLeavesOutWhatNoViewCanHold) {
    TiXmlDocument environment;
    environment.Parse("<environment><camera start=\"frame\"/></environment>");
    viewer->parseEnvironment(environment.RootElement());
    startWith("far.scene", R"(<scene><nodes>
      <node name="a"><position x="3e38" y="0" z="0"/><entity name="a" meshfile="box.mesh"/></node>
      <node name="b"><position x="-3e38" y="0" z="0"/><entity name="b" meshfile="box.mesh"/></node>
    </nodes></scene>)");
    ASSERT_TRUE(frame(0.0f));
    ICameraControl* camera = viewer.get();
    EXPECT_EQ(camera->getPosition().x, 0.0f);
}

TEST_F(SceneTest, TheScenesBackgroundColourFillsTheViewport) {
    startWith("blue.scene", "<scene><environment><colourBackground r='0' g='0' b='1'/>"
                            "</environment></scene>");
    EXPECT_EQ(viewer->getRenderWindow()->getViewport(0)->getBackgroundColour(),
              Ogre::ColourValue(0, 0, 1));
    ASSERT_TRUE(frame(0.0f));
    EXPECT_EQ(pixel(0.02f, 0.02f).blue, 255);
}

TEST_F(SceneTest, SceneObjectsAreMadeOnceForEntitiesOnly) {
    startWith("box.scene", BOX_SCENE);
    ISceneAccess* scene = viewer.get();
    ISceneObject* box = scene->getSceneObject("entity_box");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(scene->getSceneObject("entity_box"), box);
    EXPECT_EQ(viewer->sceneObjects().size(), 1u);

    for (const char* name : {"box", "node_box", "light_lamp", "entity_nothing", ""})
        EXPECT_EQ(scene->getSceneObject(name), nullptr) << name;
    EXPECT_EQ(viewer->sceneObjects().size(), 1u);

    // The pointer stays valid over frames and further entries.
    ASSERT_TRUE(frame(0.5f));
    EXPECT_EQ(scene->getSceneObject("entity_box"), box);
}

TEST_F(SceneTest, SceneObjectsRunOnTheScaledTimeAndStandStillAtZero) {
    startWith("door.scene", R"(<scene><nodes>
        <node name="door"><entity name="door" meshfile="door.mesh"/></node>
      </nodes></scene>)");
    ISceneAccess* scene = viewer.get();
    ISceneObject* door = scene->getSceneObject("entity_door");
    ASSERT_NE(door, nullptr);
    door->setAnimationRate("open", 0.5);
    Ogre::AnimationState* open =
        viewer->getSceneManager()->getEntity("entity_door")->getAnimationState("open");

    scene->setTimeScale(2.0f);
    ASSERT_TRUE(frame(0.25f));
    EXPECT_EQ(open->getTimePosition(), 0.25f);
    scene->setTimeScale(0.0f);
    ASSERT_TRUE(frame(1.0f));
    EXPECT_EQ(open->getTimePosition(), 0.25f);
}

TEST_F(SceneTest, AnItemTheSceneNamesTwiceIsSkippedAndTheRestLoads) {
    const std::string twice = R"(<scene><nodes>
        <node name="first"><entity name="box" meshfile="box.mesh"/></node>
        <node name="second"><entity name="box" meshfile="box.mesh"/></node>
      </nodes></scene>)";
    ::testing::internal::CaptureStderr();
    startWith("twice.scene", twice);
    const std::string output = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(output.find("SceneLoader::processEntity(): there is already an entity entity_box; "
                          "this one is skipped\n"),
              std::string::npos)
        << output;
    EXPECT_EQ(viewer->getSceneManager()->getEntity("entity_box")->getParentSceneNode()->getName(),
              "node_first");
    EXPECT_TRUE(viewer->getSceneManager()->hasSceneNode("node_second"));
    EXPECT_FALSE(viewer->getRenderWindow()->isHidden());
    EXPECT_TRUE(frame(0.1f));
}

// A level as today's exporters write it: a sun given by its "direction", and a material
// whose every technique needs a shader the render system cannot run (Cg, which no plug-in
// reads), drawn from its first pass.
TEST_F(SceneTest, AnExportersSunLightsAndAMaterialWithoutTechniqueFallsBackToItsFirstPass) {
    folder->write("scene/level.material", R"(fragment_program Level/Glow cg
{
    source glow.cg
    entry_point main
    profiles arbfp1
}
material Level/Glow
{
    technique
    {
        pass
        {
            diffuse 0 0 0
            emissive 1 0 0
            fragment_program_ref Level/Glow
            {
            }
        }
    }
})");
    ::testing::internal::CaptureStderr();
    startWith("level.scene", R"(<scene><nodes>
      <node name="left"><position x="-8" y="0" z="-40"/><entity name="left" meshfile="box.mesh"/></node>
      <node name="right"><position x="8" y="0" z="-40"/>
        <entity name="right" meshfile="box.mesh" material="Level/Glow"/></node>
      <node name="behind"><position x="0" y="0" z="40"/>
        <entity name="right2" meshfile="box.mesh" material="Level/Glow"/></node>
      <node name="sun"><light name="sun" type="directional"><direction x="0" y="0" z="-1"/>
        <colourDiffuse r="1" g="1" b="1"/></light></node>
    </nodes></scene>)");
    const std::string output = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(
        output.find("SceneLoader::load(): material \"Level/Glow\" of entity_right, entity_right2 "
                    "has no technique this render system supports ("),
        std::string::npos)
        << output;
    ASSERT_TRUE(frame(0.0f));
    EXPECT_GT(pixel(0.35f, 0.5f).brightest(), 128);
    const testing::Pixel right = pixel(0.65f, 0.5f);
    EXPECT_GT(right.red, 200);
    EXPECT_LT(right.green, 32);
}

TEST_F(SceneTest, ASceneFileThatIsNowhereLeavesAnEmptyRunningViewer) {
    viewer->setSceneFile("nowhere.scene");
    start();
    EXPECT_FALSE(viewer->getSceneManager()->hasEntity("entity_box"));
    EXPECT_EQ(viewer->getSceneObject("entity_box"), nullptr);
    ASSERT_TRUE(frame(0.1f));
    EXPECT_TRUE(pixel(0.5f, 0.5f).isBlack());
}

} // namespace
} // namespace corvane
