// The whole product in one process: the host with the viewer, the user interface, the
// playback director, the sound bank and the frame capture, playing a short script in an
// application folder made from the build's runtime folder and the demo's scene. Input
// comes from the user interface's scripted mode; what a user would see is read from the
// overlay's elements and from the captured frames.
#include <OgreCamera.h>
#include <OgreDataStream.h>
#include <OgreEntity.h>
#include <OgreImage.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

#include "framework/IGuiElement.h"
#include "framework/IGuiOverlay.h"
#include "framework/IGuiProgressBar.h"
#include "framework/IViewerCore.h"
#include "framework/Identifiers.h"
#include "host/ExitCode.h"
#include "host/HostConfiguration.h"
#include "host/PluginHost.h"
#include "host/PluginLocator.h"
#include "tests/support/TemporaryFolder.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

constexpr float STEP = 0.05f;

// The door opens (in one second) half a second into the script; the run ends at 2 s.
const char* const SCRIPT = R"(<keyframes>
  <keyframe entity="CAMERA" time="0">
    <position x="0" y="5" z="30"/>
    <orientation w="0.9968" x="-0.0802" y="0" z="0"/>
  </keyframe>
  <keyframe entity="entity_door" time="0">
    <position x="0" y="-10" z="-62"/>
    <animation name="open" type="SETTIME" value="0"/>
    <animation name="open" type="SETLOOP" value="0"/>
  </keyframe>
  <keyframe entity="entity_door" time="0.5">
    <position x="0" y="-10" z="-62"/>
    <animation name="open" type="PLAYTARGET" value="2"/>
    <animation name="open" type="PLAY" value="2"/>
  </keyframe>
  <keyframe entity="narrator" time="0.5">
    <animation name="The door opens" type="STATUSTEXT" value="0"/>
  </keyframe>
  <keyframe entity="narrator" time="2">
    <animation name="The end" type="STATUSTEXT" value="0"/>
  </keyframe>
</keyframes>)";

class PlaybackEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::getenv("DISPLAY") == nullptr)
            GTEST_SKIP() << "needs a display (run under xvfb-run)";
        fs::copy(CORVANE_RUNTIME_FOLDER, app.path(), fs::copy_options::recursive);
        fs::copy(std::string(CORVANE_DEMO_FOLDER) + "/scene", app.path() + "/scene",
                 fs::copy_options::recursive);
        fs::copy(std::string(CORVANE_DEMO_FOLDER) + "/media", app.path() + "/media",
                 fs::copy_options::recursive);
        app.write("keyframes.xml", SCRIPT);
    }

    // Loads and starts the five plug-ins; `input` is the user interface's script, `more`
    // more of the viewer's environment, `interface` more of the user interface's, and
    // `playback` the playback's.
    void start(const std::string& input, const std::string& more = "",
               const std::string& interface = "", const std::string& playback = "") {
        const std::string config = app.write("corvane.xml", R"(<corvane>
          <plugin library="SceneViewer"><environment>
            <searchpath src="../../scene"/><searchpath src="../../media"/>)" +
                                                                more + R"(
            <scene src="demo.scene"/>
          </environment></plugin>
          <plugin library="UserInterface"><environment>)" + interface +
                                                                "<script>" + input +
                                                                R"(</script></environment></plugin>
          <plugin library="PlaybackDirector"><environment>)" + playback +
                                                                R"(</environment></plugin>
          <plugin library="Sound"><environment><output mode="silent"/>
            <sound name="door" file="media/sounds/door.wav"/></environment></plugin>
          <plugin library="FrameCapture"><environment>
            <capture folder="frames" every="1"/></environment></plugin>
        </corvane>)");
        std::string error;
        ASSERT_TRUE(configuration.load(config, error)) << error;
        const PluginLocator locator({CORVANE_PLUGIN_FOLDER}, "");
        ::testing::internal::CaptureStderr();
        capturing = true;
        for (const HostConfiguration::Plugin& plugin : configuration.plugins())
            ASSERT_EQ(host.load(locator.locate(plugin.library, configuration.folder()),
                                plugin.environment),
                      EXIT_CODE_OK);
        ASSERT_EQ(host.startAll(), EXIT_CODE_OK);
        void* pointer = nullptr;
        ASSERT_TRUE(host.pluginInterface(PLUGIN_ID_USER_INTERFACE, IID_IGuiOverlay, &pointer));
        overlay = static_cast<IGuiOverlay*>(pointer);
        ASSERT_TRUE(host.pluginInterface(PLUGIN_ID_SCENE_VIEWER, IID_IViewerCore, &pointer));
        viewer = static_cast<IViewerCore*>(pointer);
    }

    void TearDown() override {
        host.stopAll();
        host.unloadAll();
        diagnostics();
    }

    // What the plug-ins wrote to the diagnostic channel since they were loaded.
    const std::string& diagnostics() {
        if (capturing)
            written = ::testing::internal::GetCapturedStderr();
        capturing = false;
        return written;
    }

    // Runs frames at a fixed step until `seconds` of host time have passed in all.
    int runUntil(float seconds) {
        const auto frames = static_cast<std::uint64_t>(seconds / STEP + 0.5f);
        return host.runFrames({STEP, frames});
    }

    std::string text(const char* name) {
        IGuiElement* element = overlay->getElement(name);
        return element != nullptr ? element->getText() : "(no element " + std::string(name) + ")";
    }
    bool visible(const char* name) {
        IGuiElement* element = overlay->getElement(name);
        return element != nullptr && element->isVisible();
    }
    float progress() {
        void* bar = nullptr;
        overlay->getElement("ZORV/Timebar")->QueryInterface(IID_IGuiProgressBar, &bar);
        return bar != nullptr ? static_cast<IGuiProgressBar*>(bar)->getProgress() : -1.0f;
    }

    // The captured frame of the host's frame `number`.
    Ogre::Image frame(std::uint64_t number) {
        char name[40];
        std::snprintf(name, sizeof(name), "frames/frame_%06llu.png",
                      static_cast<unsigned long long>(number));
        const std::string path = app.path() + "/" + name;
        std::ifstream* file = new std::ifstream(path, std::ios::binary);
        EXPECT_TRUE(file->good()) << path;
        Ogre::DataStreamPtr stream(new Ogre::FileStreamDataStream(path, file, true));
        Ogre::Image image;
        image.load(stream, "png");
        return image;
    }

    // The share of pixels that differ clearly between two frames, inside a rectangle of
    // window fractions.
    static double changed(const Ogre::Image& a, const Ogre::Image& b, float left, float top,
                          float right, float bottom) {
        const auto width = static_cast<std::uint32_t>(a.getWidth());
        const auto height = static_cast<std::uint32_t>(a.getHeight());
        std::size_t count = 0;
        std::size_t differing = 0;
        for (auto y = static_cast<std::uint32_t>(top * height); y < bottom * height; ++y)
            for (auto x = static_cast<std::uint32_t>(left * width); x < right * width; ++x) {
                const Ogre::ColourValue ca = a.getColourAt(x, y, 0);
                const Ogre::ColourValue cb = b.getColourAt(x, y, 0);
                ++count;
                if (std::abs(ca.r - cb.r) + std::abs(ca.g - cb.g) + std::abs(ca.b - cb.b) > 0.15f)
                    ++differing;
            }
        return count > 0 ? static_cast<double>(differing) / count : 0.0;
    }

    testing::TemporaryFolder app;
    testing::CurrentDirectoryScope current{app.path()};
    HostConfiguration configuration;
    PluginHost host;
    IGuiOverlay* overlay = nullptr;
    IViewerCore* viewer = nullptr;
    bool capturing = false;
    std::string written;
};

TEST_F(PlaybackEndToEnd, StartsPausedAndResumingPlaysToCompletion) {
    start(R"(<click time="0.5" element="ZORV/EscapeMenu/Resume"/>)");
    ASSERT_EQ(runUntil(0.3f), EXIT_CODE_OK);
    EXPECT_TRUE(visible("ZORV/EscapeMenu"));
    EXPECT_EQ(text("ZORV/StatusText"), "Simulation Status: Paused");
    // The keyframes at time 0 are applied while paused; the later ones wait.
    EXPECT_EQ(text("ZORV/StatusText/Static1"), "");
    EXPECT_FALSE(visible("ZORV/About"));
    EXPECT_FALSE(visible("ZORV/ConfirmExit"));

    ASSERT_EQ(runUntil(1.5f), EXIT_CODE_OK);
    EXPECT_FALSE(visible("ZORV/EscapeMenu"));
    EXPECT_EQ(text("ZORV/StatusText"), "Simulation Status: Playing");
    EXPECT_EQ(text("ZORV/StatusText/Static1"), "The door opens");

    ASSERT_EQ(runUntil(3.0f), EXIT_CODE_OK);
    EXPECT_EQ(text("ZORV/StatusText"), "Simulation Status: Complete");
    // The completion clears the keyframes' status line.
    EXPECT_EQ(text("ZORV/StatusText/Static1"), "");
    EXPECT_FLOAT_EQ(progress(), 100.0f);
    EXPECT_NE(diagnostics().find("ZORV/EscapeMenu/Resume clicked\n"), std::string::npos);
}

TEST_F(PlaybackEndToEnd, CapturedFramesChangeWhereTheDoorOpens) {
    start(R"(<click time="0.1" element="ZORV/EscapeMenu/Resume"/>)");
    ASSERT_EQ(runUntil(2.5f), EXIT_CODE_OK);
    // The capture writes beside the frames: every frame is on disk once it has stopped.
    ASSERT_TRUE(host.stopAll());
    // Numbered as the host's frames, the run's first and last among them.
    for (const char* name : {"frame_000001.png", "frame_000050.png"})
        EXPECT_TRUE(fs::exists(app.path() + "/frames/" + name)) << name;
    // Where the door stands on the screen, from the camera the script set.
    Ogre::SceneManager* scene = viewer->getSceneManager();
    Ogre::Camera* camera = scene->getCamera("PlayerCam");
    const Ogre::AxisAlignedBox door = scene->getEntity("entity_door")->getWorldBoundingBox(true);
    const Ogre::Vector3 corner =
        camera->getProjectionMatrix() * (camera->getViewMatrix() * door.getMinimum());
    const Ogre::Vector3 other =
        camera->getProjectionMatrix() * (camera->getViewMatrix() * door.getMaximum());
    const float left = 0.5f + 0.5f * std::min(corner.x, other.x);
    const float right = 0.5f + 0.5f * std::max(corner.x, other.x);
    const float top = 0.5f - 0.5f * std::max(corner.y, other.y);
    const float bottom = 0.5f - 0.5f * std::min(corner.y, other.y);
    ASSERT_LT(left, right);

    // Before the door opens (the clock passes 0.5 s at about 0.5 s of host time) and when
    // it stands open (after 1.5 s): the door's place changes, the rest of the scene not.
    const Ogre::Image closed = frame(8);
    const Ogre::Image open = frame(45);
    EXPECT_GT(changed(closed, open, left, top, right, bottom), 0.2);
    EXPECT_LT(changed(closed, open, 0.0f, 0.3f, 0.15f, 0.8f), 0.01);
    // Nothing moves once the door stopped at the end of its animation.
    EXPECT_LT(changed(open, frame(49), 0.0f, 0.25f, 1.0f, 0.8f), 0.001);
}

TEST_F(PlaybackEndToEnd, TheMenuPausesAndTheTimeBarStops) {
    start(R"(<click time="0.1" element="ZORV/EscapeMenu/Resume"/>
             <action time="0.8" name="SHOW_MENU"/>)");
    ASSERT_EQ(runUntil(0.7f), EXIT_CODE_OK);
    const float early = progress();
    ASSERT_EQ(runUntil(0.75f), EXIT_CODE_OK);
    const float playing = progress();
    EXPECT_GT(playing, early);
    // The menu opens in the next frame; from then on the bar holds still.
    ASSERT_EQ(runUntil(1.0f), EXIT_CODE_OK);
    EXPECT_TRUE(visible("ZORV/EscapeMenu"));
    EXPECT_EQ(text("ZORV/StatusText"), "Simulation Status: Paused");
    EXPECT_FLOAT_EQ(progress(), playing);
    ASSERT_EQ(runUntil(2.0f), EXIT_CODE_OK);
    EXPECT_FLOAT_EQ(progress(), playing);
}

TEST_F(PlaybackEndToEnd, ClicksLandOnTheButtonOrCloseBoxUnderThePointer) {
    // About's close box (top right of the about window) while the window is hidden, the
    // About button, an empty place, the close box again, then Resume (middle of the menu).
    start(R"(<click time="0.1" x="0.729" y="0.266"/>
             <click time="0.2" x="0.5" y="0.404"/>
             <click time="0.3" x="0.9" y="0.5"/>
             <click time="0.4" x="0.729" y="0.266"/>
             <click time="0.5" x="0.5" y="0.329"/>)");
    ASSERT_EQ(runUntil(0.25f), EXIT_CODE_OK);
    EXPECT_TRUE(visible("ZORV/About"));
    ASSERT_EQ(runUntil(0.6f), EXIT_CODE_OK);
    EXPECT_FALSE(visible("ZORV/About"));
    EXPECT_FALSE(visible("ZORV/EscapeMenu"));
    std::string clicks;
    std::istringstream lines(diagnostics());
    for (std::string line; std::getline(lines, line);)
        if (line.find("clicked") != std::string::npos)
            clicks += line + "\n";
    EXPECT_EQ(clicks, "ZORV/EscapeMenu/About clicked\n"
                      "ZORV/About Close clicked\n"
                      "ZORV/EscapeMenu/Resume clicked\n");
    EXPECT_EQ(overlay->getElement("ZORV/NoSuchElement"), nullptr);
    EXPECT_EQ(overlay->getElement("ZORV/EscapeMenu/Resume/Label"), nullptr);
}

TEST_F(PlaybackEndToEnd, AClickOnTheTimeBarPutsTheScenePausedAtThatTime) {
    // Twice the speed, then the middle of the bar: 1 s of the 2 s script, where the door has
    // been opening for half a second at twice its rate.
    start(R"(<action time="0.2" name="SPEED_UP"/>
             <click time="0.3" x="0.5" y="0.964"/>)");
    ASSERT_EQ(runUntil(0.5f), EXIT_CODE_OK);
    EXPECT_TRUE(visible("ZORV/EscapeMenu"));
    EXPECT_EQ(text("ZORV/StatusText"), "Simulation Status: Paused (2x)");
    EXPECT_EQ(text("ZORV/StatusText/Static1"), "The door opens");
    EXPECT_NEAR(progress(), 50.0f, 5.0f);
    Ogre::Entity* door = viewer->getSceneManager()->getEntity("entity_door");
    EXPECT_NEAR(door->getAnimationState("open")->getTimePosition(), 1.0f, 0.2f);
}

TEST_F(PlaybackEndToEnd, ExitTwiceWithTheCooldownBetweenEndsTheHostWithStatusZero) {
    // The second EXIT falls in the half second after the first and is ignored; the third
    // is accepted with the confirmation open and ends the run.
    start(R"(<action time="0.2" name="EXIT"/>
             <action time="0.45" name="EXIT"/>
             <action time="1.0" name="EXIT"/>)");
    ASSERT_EQ(runUntil(0.7f), EXIT_CODE_OK);
    EXPECT_TRUE(visible("ZORV/ConfirmExit"));
    EXPECT_EQ(host.framesRun(), 14u);
    EXPECT_EQ(runUntil(5.0f), EXIT_CODE_OK);
    EXPECT_EQ(host.framesRun(), 20u);
}

// The build's own media folder defines the core's marker materials and the demo's materials
// a second time: those definitions are skipped with a line each, and the menus and the
// exit confirmation work as before.
TEST_F(PlaybackEndToEnd, TheDemoWithTheBuildsMediaAddedStillExitsThroughItsMenu) {
    start(R"(<action time="0.2" name="EXIT"/><action time="1.0" name="EXIT"/>)",
          "<searchpath src='" CORVANE_MEDIA_FOLDER "'/>");
    ASSERT_EQ(runUntil(0.1f), EXIT_CODE_OK);
    EXPECT_TRUE(visible("ZORV/EscapeMenu"));
    ASSERT_EQ(runUntil(0.5f), EXIT_CODE_OK);
    EXPECT_TRUE(visible("ZORV/ConfirmExit"));
    EXPECT_EQ(runUntil(5.0f), EXIT_CODE_OK);
    EXPECT_EQ(host.framesRun(), 20u);
    EXPECT_NE(diagnostics().find("material \"MRK/Camera\" is defined already; the first "
                                 "definition stays\n"),
              std::string::npos);
}

// Hiding the statistics hides them alone: the status line of a run that starts playing is
// on the screen from the first frame, which the viewer draws before the playback's first.
TEST_F(PlaybackEndToEnd, HiddenStatisticsLeaveTheStatusLineFromTheFirstFrames) {
    start("", "", R"(<statistics visible="false"/>)", R"(<start playing="true"/>)");
    ASSERT_EQ(runUntil(0.1f), EXIT_CODE_OK);
    EXPECT_EQ(text("ZORV/StatusText"), "Simulation Status: Playing");
    // The capture writes beside the frames: every frame is on disk once it has stopped.
    ASSERT_TRUE(host.stopAll());
    // Where the status line and the statistics stand, against the same frame without them.
    const Ogre::Image shown = frame(1);
    int lit = 0;
    for (std::uint32_t y = 0; y < shown.getHeight(); ++y)
        for (std::uint32_t x = 0; x < shown.getWidth() / 2; ++x) {
            const Ogre::ColourValue c = shown.getColourAt(x, y, 0);
            if (c.r + c.g + c.b > 2.7f)
                lit += y > shown.getHeight() * 0.85 ? 1 : (y < shown.getHeight() * 0.2 ? -1000 : 0);
        }
    EXPECT_GT(lit, 200) << "white text on the status line, none in the statistics' corner";
}

// Q twice while playing, the camera flown and recorded into the script: the scripted input
// of a run without a user.
TEST_F(PlaybackEndToEnd, ARecordedCameraKeyframeIsWrittenIntoTheScript) {
    start(R"(<action time="0.3" name="CAMERA_5"/>
             <action time="0.9" name="RECORD_CAMERA_KEY"/>
             <action time="1.2" name="EXIT"/>
             <action time="1.8" name="EXIT"/>)",
          "", "", R"(<start playing="true"/>)");
    EXPECT_EQ(runUntil(5.0f), EXIT_CODE_OK);
    EXPECT_EQ(host.framesRun(), 36u) << "ended by the second Q";
    const std::string script = testing::TemporaryFolder::read(app.path() + "/keyframes.xml");
    const std::size_t at = script.find("  <keyframe entity=\"CAMERA\" time=\"0.95\">\n"
                                       "    <position x=\"0\" y=\"5\" z=\"30\"/>\n"
                                       "    <orientation w=\"0.99677896\" x=\"-0.08019831\"");
    ASSERT_NE(at, std::string::npos) << script;
    // After the keyframes at 0.5, before those at 2; the rest as it was.
    EXPECT_EQ(script.substr(0, at), std::string(SCRIPT).substr(0, at));
    EXPECT_LT(at, script.find("time=\"2\""));
    EXPECT_EQ(testing::TemporaryFolder::read(app.path() + "/keyframes.xml.bak"), SCRIPT);
    EXPECT_NE(diagnostics().find("the camera at 0.95 s is written into keyframes.xml:19\n"),
              std::string::npos)
        << diagnostics();
}

} // namespace
} // namespace corvane
