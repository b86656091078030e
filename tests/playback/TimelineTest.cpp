// Speed, single steps and the script's hot reload, through the calls the user interface
// makes and through made-up input actions.
#include <gtest/gtest.h>
#include <tinyxml.h>

#include "tests/playback/TimelineRig.h"

namespace corvane::testing {
namespace {

constexpr float STEP = 1.0f / 30.0f;

const char* const WALK = R"(<keyframes>
  <keyframe entity="entity_figure" time="0"><position x="36" y="-10" z="-40"/></keyframe>
  <keyframe entity="entity_figure" time="0.5">
    <position x="36" y="-10" z="-40"/><velocity x="-4"/><velocitytarget x="8" y="-10" z="-40"/>
    <animation name="Walk" type="PLAY" value="1"/>
  </keyframe>
  <keyframe entity="narrator" time="1"><animation name="Walking" type="STATUSTEXT"/></keyframe>
  <keyframe entity="narrator" time="6"/>
</keyframes>)";

// The same figure, walking faster towards the door and waving.
const char* const EDITED = R"(<keyframes>
  <keyframe entity="entity_figure" time="0"><position x="36" y="-10" z="-40"/></keyframe>
  <keyframe entity="entity_figure" time="0.5">
    <position x="36" y="-10" z="-40"/><velocity x="-6" z="-3"/>
    <animation name="Wave" type="PLAY" value="1"/>
    <animation name="Walk" type="PLAY" value="2"/>
  </keyframe>
  <keyframe entity="narrator" time="1"><animation name="Hurrying" type="STATUSTEXT"/></keyframe>
  <keyframe entity="narrator" time="6"/>
</keyframes>)";

void play(TimelineRig& rig, int frames) {
    rig.press("SHOW_MENU");
    rig.frames(frames, STEP);
}

TEST(PlaybackSpeed, ScalesTheClockAndTheSceneAndShowsInTheStatusLine) {
    TimelineRig rig("demo.scene", WALK);
    play(rig, 30);
    rig.controller.setSpeed(2.0f);
    EXPECT_EQ(rig.text("ZORV/StatusText"), "Simulation Status: Playing (2x)");
    const float before = rig.controller.getTime();
    rig.frames(30, STEP);
    EXPECT_NEAR(rig.controller.getTime() - before, 2.0f, 1e-4f);

    ::testing::internal::CaptureStderr();
    rig.controller.setSpeed(0.0f);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "PlaybackController::setSpeed(): 0 is not a speed from 0.0625 to 16; it stays "
              "at 2\n");
    EXPECT_EQ(rig.controller.getSpeed(), 2.0f);
    rig.press("SHOW_MENU");
    rig.frame(STEP);
    EXPECT_EQ(rig.text("ZORV/StatusText"), "Simulation Status: Paused (2x)");
    rig.controller.setSpeed(1.0f);
    EXPECT_EQ(rig.text("ZORV/StatusText"), "Simulation Status: Paused");
}

TEST(PlaybackStep, MovesOneFrameWhilePausedAndBackToTheSameClock) {
    TimelineRig rig("demo.scene", WALK);
    play(rig, 40);
    EXPECT_FALSE(rig.controller.stepFrames(1)) << "playing";
    rig.press("SHOW_MENU");
    rig.frame(STEP);
    const float paused = rig.controller.getTime();
    const std::string scene = rig.sceneState();
    ASSERT_TRUE(rig.controller.stepFrames(1));
    rig.frame(STEP);
    EXPECT_NEAR(rig.controller.getTime(), paused + STEP, 1e-5f);
    EXPECT_NE(rig.sceneState(), scene);
    ASSERT_TRUE(rig.controller.stepFrames(-1));
    rig.frame(STEP);
    EXPECT_EQ(rig.controller.getTime(), paused);
    EXPECT_EQ(rig.sceneState(), scene);
    EXPECT_EQ(rig.text("ZORV/StatusText"), "Simulation Status: Paused");
    EXPECT_EQ(rig.text("ZORV/StatusText/Static1"), "Walking");
}

TEST(PlaybackStep, TheFreeCameraStaysWhereTheUserPutIt) {
    std::string script = WALK;
    script.insert(script.find("</keyframes>"), R"(<keyframe entity="CAMERA" time="0.5">
        <position z="40"/><velocity z="-1"/><slerp w="0" y="1" multiplier="0.5"/></keyframe>)");
    TimelineRig rig("demo.scene", script);
    play(rig, 30);
    rig.press("CAMERA_5");
    rig.frame(STEP);
    ICameraControl& camera = rig.viewer;
    camera.setCameraPosition({3.0f, 4.0f, 5.0f});
    rig.press("SHOW_MENU");
    rig.frame(STEP);
    const FloatQuaternion turned = camera.getOrientation();
    const std::string scene = rig.sceneState();
    ASSERT_TRUE(rig.controller.seekTo(0.0f));
    rig.frame(STEP);
    const FloatVector3 place = camera.getPosition();
    EXPECT_EQ(place.x, 3.0f);
    EXPECT_EQ(place.z, 5.0f);
    EXPECT_EQ(camera.getOrientation().y, turned.y);
    EXPECT_NE(rig.sceneState(), scene) << "the figure goes back to the start";
}

TEST(PlaybackTimeline, WithoutTheViewersTimelineSeekingIsUnavailableAndPlaybackGoesOn) {
    PlaybackRig rig;
    rig.offerAll();
    rig.scene.add("e");
    rig.start(keyframesXml(R"(<keyframe entity="e" time="1"/>)"));
    rig.frames(1, 0.25f);
    const int queries = rig.host.listQueries;
    EXPECT_FALSE(rig.controller.seekTo(0.5f));
    EXPECT_FALSE(rig.controller.stepFrames(1));
    // Asked for on first need, and again while no provider is found.
    EXPECT_EQ(rig.host.listQueries, queries + 2);
    rig.click("ZORV/EscapeMenu/Resume");
    rig.frames(5, 0.25f);
    EXPECT_TRUE(rig.controller.getPendingKeyframes().empty());
}

// A range's first frame replays the frames before it on the viewer's timeline; without
// one, frames from the script's beginning would be written under the range's numbers.
TEST(PlaybackTimeline, WithoutTheViewersTimelineARangeDoesNotStart) {
    const struct {
        const char* start;
        bool starts;
        const char* line;
    } rows[] = {
        {"<start playing=\"true\" frames=\"270\"/>", false,
         "PlaybackController::start(): the viewer offers no timeline, so playback cannot begin "
         "at frame 270; it does not start\n"},
        {"<start playing=\"true\" frames=\"0\"/>", true, ""},
        {"<start playing=\"true\"/>", true, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.start);
        PlaybackRig rig;
        rig.offerAll();
        TiXmlDocument document;
        document.Parse((std::string("<env>") + row.start + "</env>").c_str());
        rig.controller.parseEnvironment(document.RootElement());
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(rig.start(keyframesXml("")), row.starts);
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), row.line);
    }
}

struct ReloadCase {
    const char* name;
    std::string edit;       // the script's new text
    const char* function;   // the one line the reload writes: this, the file's path, then
    const char* line;       // this
    const char* nowPlaying; // the script the scene then follows
};

class HotReload : public ::testing::TestWithParam<ReloadCase> {};

TEST_P(HotReload, GoesOnFromTheSameTimeWithTheScriptThatLoads) {
    const ReloadCase& row = GetParam();
    std::string scene;
    float clock = 0.0f;
    std::string text;
    {
        TimelineRig rig("demo.scene", WALK, "watch=\"true\"");
        play(rig, 40);
        const std::string path = rig.folder.write("keyframes.xml", row.edit);
        ::testing::internal::CaptureStderr();
        rig.frames(30, STEP);
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), row.function + path + row.line);
        scene = rig.sceneState();
        clock = rig.controller.getTime();
        text = rig.text("ZORV/StatusText/Static1");
    }
    TimelineRig fresh("demo.scene", row.nowPlaying);
    play(fresh, 70);
    EXPECT_EQ(scene, fresh.sceneState());
    EXPECT_EQ(clock, fresh.controller.getTime());
    EXPECT_EQ(text, fresh.text("ZORV/StatusText/Static1"));
}

INSTANTIATE_TEST_SUITE_P(
    Edits, HotReload,
    ::testing::Values(ReloadCase{"Edited", EDITED, "PlaybackController: ",
                                 " changed; 4 keyframes reloaded at 1.93333 s\n", EDITED},
                      ReloadCase{"Broken", "<keyframes>\n  <keyframe time=\"1\">\n</keyframes>\n",
                                 "KeyframeLoader::load(): ",
                                 " does not parse: Error reading end tag. (row 3, column 11); "
                                 "\"keyframe\" opened at row 2, column 3 is not closed\n",
                                 WALK}),
    [](const ::testing::TestParamInfo<ReloadCase>& info) { return info.param.name; });

} // namespace
} // namespace corvane::testing
