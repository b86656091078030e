#include <algorithm>
#include <gtest/gtest.h>
#include <sstream>

#include "tests/playback/RecordingFakes.h"

namespace corvane {
namespace {

using testing::keyframesXml;
using testing::PlaybackRig;
using Calls = std::vector<std::string>;

std::string placed(const char* entity, float time, int x) {
    return "<keyframe entity=\"" + std::string(entity) + "\" time=\"" + std::to_string(time) +
           "\"><position x=\"" + std::to_string(x) + "\"/></keyframe>";
}

Calls positions(const PlaybackRig& rig) {
    return rig.log.containing(".setPosition(");
}

Calls at(int x) {
    return {"scene:e.setPosition(" + std::to_string(x) + ", 0, 0)"};
}

// The lines of `text` that begin with `prefix`, each with its line feed.
std::string linesOf(const std::string& text, const std::string& prefix) {
    std::istringstream lines(text);
    std::string kept;
    for (std::string line; std::getline(lines, line);)
        if (line.rfind(prefix, 0) == 0)
            kept += line + '\n';
    return kept;
}

Calls concat(std::initializer_list<Calls> parts) {
    Calls all;
    for (const Calls& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

TEST(KeyframePlayback, DueKeyframesAreThoseBelowTheClockAppliedLatestFirst) {
    PlaybackRig rig;
    rig.offerAll();
    rig.scene.add("e");
    rig.start(keyframesXml(placed("e", 0, 0) + placed("e", 0.1f, 1) + placed("e", 2, 2) +
                           placed("e", 1, 3) + placed("e", 2, 4)));
    // Paused, the first frame applies what lies below the starting clock; 0.1 is not due.
    rig.frames(1, 0.25f);
    EXPECT_EQ(positions(rig), at(0));
    rig.click("ZORV/EscapeMenu/Resume");
    rig.frames(1, 5.0f);
    EXPECT_EQ(positions(rig), at(0));
    // One long frame: 2 (the later of the two first), 2, 1, then 0.1 is left on the entity.
    rig.frames(1, 0.01f);
    EXPECT_EQ(positions(rig), concat({at(0), at(4), at(2), at(3), at(1)}));
    EXPECT_TRUE(rig.controller.getPendingKeyframes().empty());
    EXPECT_EQ(rig.controller.getPlayedKeyframes().size(), 5u);
}

TEST(KeyframePlayback, AppliesTheActionsInListOrderThenTheTransformThenSoundsAndTexts) {
    PlaybackRig rig;
    rig.offerAll();
    rig.scene.add("entity_door");
    rig.scene.add("entity_robot");
    rig.sounds.add("bell");
    rig.sounds.add("hum");
    rig.start(keyframesXml(R"(<keyframe entity="entity_door" time="0">
        <position x="1" y="2" z="3"/><velocity x="4"/><velocitytarget z="5"/>
        <orientation w="0.5" x="0.5" y="0.5" z="0.5"/><slerp w="0" y="1" multiplier="0.25"/>
        <animation type="STATUSTEXT" name="first"/>
        <animation type="PLAY" name="open" value="1.5"/>
        <animation type="PLAYTARGET" name="open" value="2"/>
        <animation type="SETAPPLIED" name="open" value="0"/>
        <animation type="SETLOOP" name="open" value="0.5"/>
        <animation type="SETWEIGHT" name="open" value="0.75"/>
        <animation type="SETTIME" name="open" value="3"/>
        <animation type="WEIGHTSLIDE" name="open" value="-1"/>
        <animation type="WEIGHTSLIDETARGET" name="open" value="0.5"/>
        <animation type="ATTATCHTOBONE" name="hand:entity_robot"/>
        <animation type="ATTATCHTOBONE" name="grip"/>
        <animation type="ATTATCHTOBONE" name="arm:entity_door"/>
        <animation type="ATTATCHTOBONE" name="a:b:c"/>
        <animation type="DETATCHFROMBONE" name="entity_cup"/>
        <animation type="ATTATCHTOSCENENODE" name="node_table"/>
        <animation type="PLAYSOUND" name="bell"/>
        <animation type="STOPSOUND" name="hum"/>
        <animation type="PLAYSOUND" name="missing"/>
        <animation type="STATUSTEXT" name="last"/>
      </keyframe>)"));
    ::testing::internal::CaptureStderr();
    rig.frames(1, 0.25f);
    const std::string at = "PlaybackController::applyKeyframe(): keyframes.xml row ";
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              at +
                  "16: no scene has entity \"b:c\" to hang entity_door on; the action does "
                  "nothing\n" +
                  at + "15: entity_door cannot hang on its own bone \"arm\"\n" + at +
                  "14: no scene has entity \"grip\" to hang entity_door on; the action does "
                  "nothing\n" +
                  at + "21: no sound bank has sound \"missing\"; the action does nothing\n");
    const auto first =
        std::find(rig.log.calls.begin(), rig.log.calls.end(), "scene.getSceneObject(entity_door)");
    EXPECT_EQ(Calls(first, rig.log.calls.end()),
              (Calls{
                  "scene.getSceneObject(entity_door)",
                  "scene:entity_door.attachToSceneNode(node_table)",
                  "scene:entity_door.detachFromBone(entity_cup)",
                  "scene.getSceneObject(b:c)",
                  "scene.getSceneObject(entity_door)",
                  "scene.getSceneObject(grip)",
                  "scene.getSceneObject(entity_robot)",
                  "scene:entity_robot.attachToBone(hand, scene:entity_door, (0.5, 0.5, 0.5, "
                  "0.5), (1, 2, 3))",
                  "scene:entity_door.setWeightSlideTarget(open, 0.5)",
                  "scene:entity_door.setWeightSlideRate(open, -1)",
                  "scene:entity_door.setAnimationTimePosition(open, 3)",
                  "scene:entity_door.setAnimationWeight(open, 0.75)",
                  "scene:entity_door.setAnimationLoop(open, true)",
                  "scene:entity_door.setAnimationEnabled(open, false)",
                  "scene:entity_door.setAnimationStopTime(open, 2)",
                  "scene:entity_door.setAnimationRate(open, 1.5)",
                  "scene:entity_door.setPosition(1, 2, 3)",
                  "scene:entity_door.setVelocity(4, 0, 0)",
                  "scene:entity_door.setMoveTarget(0, 0, 5)",
                  "scene:entity_door.setOrientation(0.5, 0.5, 0.5, 0.5)",
                  "scene:entity_door.startRotationSlerp(0.25, (0.5, 0.5, 0.5, 0.5), (0, 0, 1, 0))",
                  "sounds.findSound(missing)",
                  "sounds.findSound(hum)",
                  "sounds:hum.stop()",
                  "sounds.findSound(bell)",
                  "sounds:bell.play()",
                  "overlay:ZORV/StatusText/Static1.setText(last)",
                  "overlay:ZORV/StatusText/Static1.setText(first)",
              }));
}

TEST(KeyframePlayback, AnEntityTheSceneLacksStillUsesUpItsKeyframeAndItsSoundsAndTexts) {
    PlaybackRig rig;
    rig.offerAll();
    rig.sounds.add("bell");
    rig.start(keyframesXml(R"(<keyframe entity="entity_ghost" time="0">
        <animation type="PLAY" name="walk"/><animation type="PLAYSOUND" name="bell"/>
        <animation type="STATUSTEXT" name="boo"/></keyframe>
        <keyframe entity="narrator" time="0.5"><animation type="STATUSTEXT" name="cue"/>
        </keyframe>)"));
    ::testing::internal::CaptureStderr();
    rig.frames(1, 0.25f);
    EXPECT_EQ(rig.controller.getPlayedKeyframes().size(), 1u);
    EXPECT_EQ(rig.log.containing("ghost"), Calls{"scene.getSceneObject(entity_ghost)"});
    EXPECT_EQ(rig.log.containing("bell."), Calls{"sounds:bell.play()"});
    EXPECT_EQ(rig.log.containing("Static1"), Calls{"overlay:ZORV/StatusText/Static1.setText(boo)"});
    // Said once for the whole load, however often the script loops; a keyframe that only
    // gives cues needs no entity.
    rig.click("ZORV/EscapeMenu/Resume");
    rig.click("ZORV/EscapeMenu/LoopOn");
    rig.frames(8, 0.25f);
    EXPECT_EQ(rig.log.containing("getSceneObject(entity_ghost)").size(), 3u);
    EXPECT_EQ(linesOf(::testing::internal::GetCapturedStderr(), "PlaybackController::"),
              "PlaybackController::applyKeyframe(): keyframes.xml row 1: no scene has entity "
              "\"entity_ghost\"; the keyframe does nothing to it\n");
}

TEST(KeyframePlayback, CameraKeyframesMoveTheCameraOnlyInAutomaticMode) {
    const std::string script = keyframesXml(R"(<keyframe entity="CAMERA" time="0">
        <position x="1"/><velocity y="2"/><velocitytarget z="3"/><orientation w="0" x="1"/>
        <slerp w="1" multiplier="0.5"/></keyframe>)");
    PlaybackRig automatic;
    automatic.offerAll();
    automatic.start(script);
    automatic.frames(1, 0.25f);
    EXPECT_EQ(automatic.log.containing("camera.s"),
              (Calls{"camera.setCameraPosition(1, 0, 0)", "camera.setWorldVelocity(0, 2, 0)",
                     "camera.setMoveTarget(0, 0, 3)", "camera.setOrientation(0, 1, 0, 0)",
                     "camera.startRotationSlerp(0.5, (0, 1, 0, 0), (1, 0, 0, 0))"}));

    // Manual from the first frame on: the keyframe is used up, also for the return to
    // automatic within the run, and the camera is held on every manual frame.
    PlaybackRig manual;
    manual.offerAll();
    manual.start(script);
    manual.click("ZORV/Panel/CameraAuto");
    manual.frames(2, 0.25f);
    manual.click("ZORV/Panel/CameraManual");
    manual.frames(2, 0.25f);
    EXPECT_EQ(manual.controller.getPlayedKeyframes().size(), 1u);
    EXPECT_TRUE(manual.log.containing("setCameraPosition").empty());
    const Calls hold{"camera.setOrientation(0.5, 0.5, 0.5, 0.5)",
                     "camera.setWorldVelocity(0, 0, 0)", "camera.setLocalVelocity(0, 0, 0)"};
    EXPECT_EQ(manual.log.containing("camera.s"), concat({hold, hold}));
}

TEST(KeyframePlayback, LoopingRestartsInTheFrameThatPassesTheLastKeyframe) {
    PlaybackRig rig;
    rig.offerAll();
    rig.scene.add("e");
    rig.start(keyframesXml(placed("e", 0.5f, 1) + placed("e", 1, 2)));
    rig.click("ZORV/EscapeMenu/Resume");
    rig.click("ZORV/EscapeMenu/LoopOn");
    rig.frames(4, 0.25f);
    EXPECT_FLOAT_EQ(rig.controller.getClock(), 1.1f);
    EXPECT_EQ(rig.controller.getPendingKeyframes().size(), 1u);
    rig.frames(1, 0.25f);
    EXPECT_EQ(rig.controller.getClock(), 0.25f);
    EXPECT_EQ(rig.controller.getPendingKeyframes().size(), 2u);
    EXPECT_TRUE(rig.controller.getPlayedKeyframes().empty());
    rig.frames(3, 0.25f);
    EXPECT_EQ(positions(rig), concat({at(1), at(2), at(1)}));
}

TEST(KeyframePlayback, EveryRunAppliesKeyframesOfOneTimeInTheSameOrder) {
    PlaybackRig rig;
    rig.offerAll();
    rig.scene.add("e");
    rig.start(keyframesXml(placed("e", 0.2f, 1) + placed("e", 0.2f, 2)));
    rig.click("ZORV/EscapeMenu/Resume");
    rig.click("ZORV/EscapeMenu/LoopOn");
    rig.frames(4, 0.25f);
    EXPECT_EQ(positions(rig), concat({at(2), at(1), at(2), at(1), at(2), at(1)}));
}

TEST(KeyframePlayback, RestartButtonAndResetActionRefillTheRunAndResume) {
    PlaybackRig rig;
    rig.offerAll();
    rig.scene.add("e");
    rig.start(keyframesXml(placed("e", 0, 1) + placed("e", 1, 2)));
    rig.frames(1, 0.25f);
    // The button restarts at the frame's seconds, not at 0, and resumes.
    rig.click("ZORV/EscapeMenu/Restart");
    rig.frames(1, 0.04f);
    EXPECT_FLOAT_EQ(rig.controller.getClock(), 0.08f);
    EXPECT_FALSE(rig.controller.isMenuShown());
    EXPECT_EQ(rig.controller.getRate(), 1.0f);
    EXPECT_EQ(positions(rig), concat({at(1), at(1)}));

    // The reset action restarts at the starting clock, and sets no cooldown of its own.
    rig.input.values["SHOW_MENU"] = 1.0f;
    rig.frames(1, 0.25f);
    rig.input.values = {{"RESET_SIMULATION", 1.0f}};
    rig.frames(1, 0.25f);
    EXPECT_FLOAT_EQ(rig.controller.getClock(), 0.35f);
    EXPECT_EQ(rig.controller.getInputCooldown(), 0.25f);
    EXPECT_FALSE(rig.controller.isMenuShown());
    EXPECT_EQ(positions(rig), concat({at(1), at(1), at(1)}));
    EXPECT_EQ(rig.controller.getPendingKeyframes().size(), 1u);
}

TEST(KeyframePlayback, AnEmptyScriptIsCompleteFromTheFirstFrameAndLoopsNothing) {
    PlaybackRig rig;
    rig.offerAll();
    rig.start(keyframesXml(""));
    rig.click("ZORV/EscapeMenu/LoopOn");
    rig.frames(2, 0.25f);
    EXPECT_EQ(rig.log.containing("ZORV/StatusText."),
              Calls(2, "overlay:ZORV/StatusText.setText(Simulation Status: Complete)"));
    EXPECT_EQ(rig.log.containing("Static1"), Calls(2, "overlay:ZORV/StatusText/Static1.setText()"));
    EXPECT_EQ(rig.controller.getClock(), 0.25f);
}

} // namespace
} // namespace corvane
