// A seek puts the scene into exactly the state that playing from the start gives: the
// scene of the demo, a script that uses every kind of action, and the demo's own script.
#include <gtest/gtest.h>

#include "tests/playback/TimelineRig.h"
#include "tests/support/TemporaryFolder.h"

namespace corvane::testing {
namespace {

constexpr float STEP = 1.0f / 30.0f;

// Moves to targets and without, turns, a cross-fade, an animation up to a stop time, a
// gift hung on the figure's hand, taken off and put on the box's node, the camera moving
// and turning, and sounds and texts.
const char* const EVERY_ACTION = R"(<keyframes>
  <keyframe entity="CAMERA" time="0"><position y="5" z="30"/></keyframe>
  <keyframe entity="CAMERA" time="1">
    <position y="5" z="30"/><velocity z="-2"/><velocitytarget y="5" z="10"/>
    <slerp w="0.9239" y="0.3827" multiplier="0.1"/>
  </keyframe>
  <keyframe entity="entity_figure" time="0">
    <position x="36" y="-10" z="-40"/><orientation w="0.7071" y="-0.7071"/>
    <animation name="Wave" type="SETAPPLIED" value="0"/>
    <animation name="Wave" type="SETWEIGHT" value="0"/>
    <animation name="Walk" type="SETLOOP" value="1"/>
    <animation name="Walk" type="SETWEIGHT" value="1"/>
  </keyframe>
  <keyframe entity="entity_figure" time="0.5">
    <position x="36" y="-10" z="-40"/><orientation w="0.7071" y="-0.7071"/>
    <velocity x="-4"/><velocitytarget x="8" y="-10" z="-40"/>
    <animation name="Walk" type="PLAY" value="1"/>
  </keyframe>
  <keyframe entity="entity_figure" time="3">
    <position x="8" y="-10" z="-40"/><orientation w="0.7071" y="-0.7071"/>
    <animation name="Walk" type="WEIGHTSLIDE" value="-0.8"/>
    <animation name="Walk" type="WEIGHTSLIDETARGET" value="0"/>
    <animation name="Wave" type="SETAPPLIED" value="1"/>
    <animation name="Wave" type="PLAY" value="1"/>
    <animation name="Wave" type="WEIGHTSLIDE" value="0.8"/>
    <animation name="Wave" type="WEIGHTSLIDETARGET" value="1"/>
  </keyframe>
  <keyframe entity="entity_door" time="1">
    <position y="-10" z="-62"/>
    <animation name="open" type="SETTIME" value="0"/>
    <animation name="open" type="SETLOOP" value="0"/>
    <animation name="open" type="PLAY" value="0.7"/>
    <animation name="open" type="PLAYTARGET" value="1.5"/>
  </keyframe>
  <keyframe entity="entity_box" time="2">
    <position x="-14" y="-5" z="-50"/><velocity z="1.5"/>
    <slerp w="0" y="1" multiplier="0.25"/>
  </keyframe>
  <keyframe entity="entity_gift" time="4">
    <position y="-1"/>
    <animation name="Hand.R:entity_figure" type="ATTATCHTOBONE"/>
  </keyframe>
  <keyframe entity="entity_figure" time="6">
    <position x="8" y="-10" z="-40"/><orientation w="0.7071" y="-0.7071"/>
    <animation name="entity_gift" type="DETATCHFROMBONE"/>
  </keyframe>
  <keyframe entity="entity_gift" time="6.5">
    <position y="6"/><slerp w="0.7071" y="0.7071" multiplier="0.5"/>
    <animation name="node_box" type="ATTATCHTOSCENENODE"/>
  </keyframe>
  <keyframe entity="narrator" time="0.5">
    <animation name="door" type="PLAYSOUND"/><animation name="Walking" type="STATUSTEXT"/>
  </keyframe>
  <keyframe entity="narrator" time="5">
    <animation name="door" type="STOPSOUND"/><animation name="Waving" type="STATUSTEXT"/>
  </keyframe>
  <keyframe entity="narrator" time="9"/>
</keyframes>)";

struct SeekCase {
    const char* name;
    std::string script;
    int frames;   // the run to compare with: this many frames from the start
    int seekFrom; // the seek comes after this many frames of its own run
    bool paused;  // ... paused in the frame after them
};

class Seek : public ::testing::TestWithParam<SeekCase> {};

// Playing from the start (resumed in the first frame) at a fixed step of 1/30 s.
void play(TimelineRig& rig, int frames) {
    rig.press("SHOW_MENU");
    rig.frames(frames, STEP);
}

TEST_P(Seek, GivesTheStateOfARunFromTheStart) {
    const SeekCase& row = GetParam();
    std::string expected;
    float target = 0.0f;
    float clock = 0.0f;
    {
        TimelineRig run("demo.scene", row.script);
        play(run, row.frames - 1);
        target = run.controller.getTime();
        run.frame(STEP);
        expected = run.sceneState();
        clock = run.controller.getTime();
    }
    TimelineRig rig("demo.scene", row.script);
    play(rig, row.seekFrom);
    if (row.paused) {
        rig.press("SHOW_MENU");
        rig.frame(STEP);
    }
    ASSERT_TRUE(rig.controller.seekTo(target));
    rig.frame(STEP);
    EXPECT_EQ(rig.sceneState(), expected);
    // Paused, the clock stands where the seek put it.
    EXPECT_EQ(rig.controller.getTime(), row.paused ? target : clock);
}

std::string demoScript() {
    return TemporaryFolder::read(CORVANE_SOURCE_DIR "/examples/demo/keyframes.xml");
}

INSTANTIATE_TEST_SUITE_P(
    Runs, Seek,
    ::testing::Values(SeekCase{"ForwardWhilePlaying", EVERY_ACTION, 220, 100, false},
                      SeekCase{"IntoTheCrossFade", EVERY_ACTION, 115, 300, false},
                      SeekCase{"OntoTheBone", EVERY_ACTION, 160, 40, true},
                      SeekCase{"BackWhilePlaying", EVERY_ACTION, 220, 300, false},
                      SeekCase{"BackWhilePaused", EVERY_ACTION, 220, 300, true},
                      SeekCase{"TheDemoForward", demoScript(), 600, 300, false},
                      SeekCase{"TheDemoBack", demoScript(), 600, 800, true}),
    [](const ::testing::TestParamInfo<SeekCase>& info) { return info.param.name; });

} // namespace
} // namespace corvane::testing
