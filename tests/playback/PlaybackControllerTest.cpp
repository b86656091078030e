#include <gtest/gtest.h>
#include <tinyxml.h>

#include "framework/Identifiers.h"
#include "tests/playback/RecordingFakes.h"

namespace corvane {
namespace {

using testing::FakeGuiOverlay;
using testing::keyframesXml;
using testing::PlaybackRig;
using Calls = std::vector<std::string>;

TEST(PlaybackController, AnswersBothInterfacesAndIUnknownWithOneCounterThatGoesBelowZero) {
    PlaybackController controller;
    void* status = nullptr;
    ASSERT_EQ(controller.QueryInterface(IID_IPlaybackStatus, &status), S_OK);
    EXPECT_EQ(status, static_cast<IPlaybackStatus*>(&controller));
    EXPECT_NE(status, static_cast<void*>(&controller));
    // Through the second table, both primary ids give the object's start.
    IPlaybackStatus* second = static_cast<IPlaybackStatus*>(status);
    for (const UUID& iid : {IID_IPlaybackDirector, IID_IUnknown}) {
        void* primary = nullptr;
        ASSERT_EQ(second->QueryInterface(iid, &primary), S_OK);
        EXPECT_EQ(primary, static_cast<void*>(&controller));
    }
    EXPECT_EQ(second->AddRef(), 4);

    void* untouched = &controller;
    EXPECT_EQ(controller.QueryInterface(IID_ISceneAccess, &untouched), E_FAIL);
    EXPECT_EQ(untouched, &controller);
    for (int expected = 3; expected >= -2; --expected)
        EXPECT_EQ((expected % 2 ? second->Release() : controller.Release()), expected);
    EXPECT_EQ(controller.QueryInterface(IID_IPlaybackStatus, &status), S_OK);
    EXPECT_EQ(controller.AddRef(), 0);
}

TEST(PlaybackController, TakesTheNameOfTheFirstEntityChild) {
    const struct {
        const char* environment;
        const char* entity;
    } rows[] = {
        {"<env><entity name=\"robot\"/><entity name=\"other\"/></env>", "robot"},
        {"<env><entity/><entity name=\"second\"/></env>", "kept"},
        {"<env><nested><entity name=\"deep\"/></nested></env>", "kept"},
        {"<env><entity name=\"\"/></env>", ""},
    };
    for (const auto& row : rows) {
        PlaybackController controller;
        controller.parseEnvironment(nullptr);
        TiXmlDocument kept;
        kept.Parse("<env><entity name=\"kept\"/></env>");
        controller.parseEnvironment(kept.RootElement());
        TiXmlDocument document;
        document.Parse(row.environment);
        controller.parseEnvironment(document.RootElement());
        EXPECT_EQ(controller.getConfiguredEntity(), row.entity) << row.environment;
    }
}

// Asked to, playback starts playing: the first frame resumes as the menu's Resume does. A
// film's frames start the clock where they need it.
TEST(PlaybackController, StartsPlayingWithTheMenuClosedOnlyWhenAsked) {
    const struct {
        const char* environment;
        bool playing;
        const char* line;
        float clock = 0.1f;
    } rows[] = {
        {"<env><start playing=\"true\"/></env>", true, ""},
        {"<env><start playing=\"false\"/></env>", false, ""},
        {"<env/>", false, ""},
        {"<env><start playing=\"yes\"/></env>", false,
         "PlaybackController::parseEnvironment(): \"start\" (row 1) has playing=\"yes\", "
         "neither \"true\" nor \"false\"; playback starts paused\n"},
        {"<env><start playing=\"true\" clock=\"0.25\"/></env>", true, "", 0.25f},
        {"<env><start playing=\"true\" clock=\"2\"/></env>", true,
         "PlaybackController::parseEnvironment(): \"start\" (row 1) has clock=\"2\", not a "
         "time from 0 to 1 s; the clock starts at 0.1\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.environment);
        PlaybackRig rig;
        TiXmlDocument document;
        document.Parse(row.environment);
        ::testing::internal::CaptureStderr();
        rig.controller.parseEnvironment(document.RootElement());
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), row.line);
        rig.offerAll();
        rig.frames(1, 0.5f);
        EXPECT_EQ(rig.controller.isMenuShown(), !row.playing);
        EXPECT_EQ(rig.controller.getRate(), row.playing ? 1.0f : 0.0f);
        EXPECT_EQ(rig.controller.getClock(), row.clock + (row.playing ? 0.5f : 0.0f));
        EXPECT_EQ(rig.log.containing("ZORV/EscapeMenu.hide()").size(), row.playing ? 1u : 0u);
        EXPECT_EQ(rig.log.containing("notifyResumed()").size(), row.playing ? 1u : 0u);
    }
}

TEST(PlaybackBinding, FirstFrameBindsTheFiveIdsInOrderPausesTheSceneAndHidesTheWindows) {
    PlaybackRig rig;
    rig.offerAll();
    rig.frames(1, 0.5f);
    // The host asks each provider once for its list and once for the pointer.
    const Calls binding = {
        "input.QueryInterface()",
        "input.QueryInterface()",
        "camera.QueryInterface()",
        "camera.QueryInterface()",
        "scene.QueryInterface()",
        "scene.QueryInterface()",
        "scene.setTimeScale(0)",
        "overlay.QueryInterface()",
        "overlay.QueryInterface()",
        "overlay:ZORV/ConfirmExit.hide()",
        "overlay:ZORV/About.hide()",
        "overlay:ZORV/Options.hide()",
        "overlay:ZORV/Panel/CameraManual.hide()",
        "sounds.QueryInterface()",
        "sounds.QueryInterface()",
    };
    ASSERT_GE(rig.log.calls.size(), binding.size());
    EXPECT_EQ(Calls(rig.log.calls.begin(), rig.log.calls.begin() + binding.size()), binding);
    EXPECT_EQ(rig.log.containing("setTimeScale"), Calls(2, "scene.setTimeScale(0)"));
    // The reference of the granted pointer is kept, never released.
    EXPECT_EQ(rig.overlay.references, 1);
    EXPECT_EQ(rig.scene.references, 1);

    const int queries = rig.host.listQueries;
    rig.frames(3, 0.5f);
    EXPECT_EQ(rig.host.listQueries, queries);
}

TEST(PlaybackBinding, EmptyAndRefusedListsAreAskedForAgainEachFrameButFilledOnesNever) {
    PlaybackRig rig;
    rig.frames(2, 0.1f);
    EXPECT_EQ(rig.host.listQueries, 10);

    const UUID inputPlugin = UUID::fromFields(1, 0, 0, 1);
    const UUID overlayPlugin = UUID::fromFields(1, 0, 0, 2);
    rig.host.add(inputPlugin, &rig.input);
    rig.host.add(overlayPlugin, &rig.overlay);
    rig.host.refuse(overlayPlugin);
    rig.frames(1, 0.1f);
    EXPECT_EQ(rig.host.listQueries, 15);
    EXPECT_EQ(rig.host.interfaceQueries, 2);
    rig.frames(1, 0.1f);
    EXPECT_EQ(rig.host.listQueries, 19);
    EXPECT_EQ(rig.host.interfaceQueries, 3);
    EXPECT_TRUE(rig.log.containing("overlay:").empty());

    // A provider that comes after its list was filled is not picked up.
    testing::FakeActionInput late(rig.log, "late");
    rig.host.add(UUID::fromFields(1, 0, 0, 3), &late);
    rig.frames(1, 0.1f);
    EXPECT_TRUE(rig.log.containing("late.").empty());
}

TEST(PlaybackBinding, TwoOverlaysAreBothBoundAndTheLaterInTheHostsListIsVisitedFirst) {
    PlaybackRig rig;
    FakeGuiOverlay later(rig.log, "later");
    rig.host.add(UUID::fromFields(1, 0, 0, 1), &rig.overlay);
    rig.host.add(UUID::fromFields(1, 0, 0, 2), &later);
    rig.frames(1, 0.1f);
    EXPECT_EQ(rig.log.containing("ZORV/About.hide"),
              (Calls{"overlay:ZORV/About.hide()", "later:ZORV/About.hide()"}));
    EXPECT_EQ(rig.log.containing("Resume.wasClicked"),
              (Calls{"later:ZORV/EscapeMenu/Resume.wasClicked()",
                     "overlay:ZORV/EscapeMenu/Resume.wasClicked()"}));
}

TEST(PlaybackFrame, RunsInputsClicksTransitionsTimeScaleCameraHoldKeyframesThenTheClock) {
    PlaybackRig rig;
    rig.offerAll();
    rig.scene.add("entity_door");
    rig.start(keyframesXml(R"(<keyframe entity="entity_door" time="0.3">
        <position x="1" y="2" z="3"/><animation name="open" type="PLAY" value="1"/></keyframe>)"));
    rig.input.values["CAMERA_5"] = 1.0f; // manual camera, keys held off for 0.5 s
    rig.frames(1, 0.5f);
    rig.input.values.clear();
    rig.click("ZORV/EscapeMenu/Resume");
    rig.frames(1, 0.5f);
    ASSERT_EQ(rig.controller.getClock(), 0.6f);

    rig.log.calls.clear();
    rig.input.values["SHOW_MENU"] = 1.0f;
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(rig.controller.renderFrame(0.5f));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    const Calls frame = {
        "input.getActionValue(RESET_SIMULATION)",
        "input.getActionValue(SHOW_MENU)",
        "input.getActionValue(SHOW_ABOUT)",
        "input.getActionValue(SHOW_OPTIONS)",
        "input.getActionValue(EXIT)",
        "input.getActionValue(CAMERA_5)",
        "overlay:ZORV/EscapeMenu/Resume.wasClicked()",
        "overlay:ZORV/EscapeMenu/About.wasClicked()",
        "overlay:ZORV/About.wasCloseClicked()",
        "overlay:ZORV/EscapeMenu/LoopOn.wasClicked()",
        "overlay:ZORV/EscapeMenu/LoopOff.wasClicked()",
        "overlay:ZORV/EscapeMenu/Restart.wasClicked()",
        "overlay:ZORV/EscapeMenu/Exit.wasClicked()",
        "overlay:ZORV/ConfirmExit/OK.wasClicked()",
        "overlay:ZORV/ConfirmExit/Cancel.wasClicked()",
        "overlay:ZORV/ConfirmExit.wasCloseClicked()",
        "overlay:ZORV/Panel/CameraAuto.wasClicked()",
        "overlay:ZORV/Panel/CameraManual.wasClicked()",
        "overlay:ZORV/Timebar.setInteractive(0)",
        "overlay:ZORV/Timebar.Release()",
        "overlay:ZORV/EscapeMenu.show()",
        "overlay.notifyPaused()",
        "overlay:ZORV/StatusText.setText(Simulation Status: Paused)",
        "scene.setTimeScale(0)",
        "camera.getOrientation()",
        "camera.setOrientation(0.5, 0.5, 0.5, 0.5)",
        "camera.setWorldVelocity(0, 0, 0)",
        "camera.setLocalVelocity(0, 0, 0)",
        "scene.getSceneObject(entity_door)",
        "scene:entity_door.setAnimationRate(open, 1)",
        "scene:entity_door.setPosition(1, 2, 3)",
        "scene:entity_door.setVelocity(0, 0, 0)",
        "scene:entity_door.setMoveTarget(0, 0, 0)",
        "scene:entity_door.setOrientation(1, 0, 0, 0)",
        "scene:entity_door.startRotationSlerp(0, (1, 0, 0, 0), (1, 0, 0, 0))",
    };
    EXPECT_EQ(rig.log.calls, frame);
    // Paused in this frame: the clock stands.
    EXPECT_EQ(rig.controller.getClock(), 0.6f);
}

TEST(PlaybackFrame, ConfirmedExitEndsOnlyItsOwnFrameWhichStillRunsToTheEnd) {
    // By key: "EXIT" held opens the confirmation, and ends playback 0.5 s later.
    PlaybackRig rig;
    rig.offerAll();
    rig.input.values["EXIT"] = 1.0f;
    EXPECT_TRUE(rig.frames(2, 0.25f));
    EXPECT_TRUE(rig.controller.isConfirmExitShown());
    EXPECT_FALSE(rig.controller.renderFrame(0.25f));
    EXPECT_TRUE(rig.controller.isConfirmExitShown());
    rig.input.values.clear();
    EXPECT_TRUE(rig.controller.renderFrame(0.25f));

    // By button, with the confirmation not even open; the frame's keyframes still apply.
    PlaybackRig other;
    other.offerAll();
    other.start(keyframesXml("<keyframe time=\"0\"/>"));
    other.click("ZORV/ConfirmExit/OK");
    EXPECT_FALSE(other.controller.renderFrame(0.25f));
    EXPECT_EQ(other.controller.getPlayedKeyframes().size(), 1u);
    EXPECT_TRUE(other.controller.renderFrame(0.25f));
}

} // namespace
} // namespace corvane
