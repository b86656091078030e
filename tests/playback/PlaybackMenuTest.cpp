#include <gtest/gtest.h>
#include <sstream>

#include "tests/playback/RecordingFakes.h"

namespace corvane {
namespace {

using testing::FakeGuiOverlay;
using testing::keyframesXml;
using testing::PlaybackRig;
using Calls = std::vector<std::string>;

std::string state(const PlaybackController& controller) {
    std::ostringstream text;
    text << "menu=" << controller.isMenuShown() << " about=" << controller.isAboutShown()
         << " confirm=" << controller.isConfirmExitShown() << " loop=" << controller.isLoopEnabled()
         << " auto=" << controller.isCameraAuto() << " cooldown=" << controller.getInputCooldown()
         << " rate=" << controller.getRate() << " clock=" << controller.getClock();
    return text.str();
}

// What the overlay was told, without the time bar's own calls of every frame.
Calls shown(const PlaybackRig& rig) {
    Calls calls;
    for (const std::string& call : rig.log.effects())
        if (call.find("ZORV/Timebar") == std::string::npos)
            calls.push_back(call);
    return calls;
}

struct StartState {
    const char* name;
    std::vector<const char*> clicks; // in a frame of their own first
};
const StartState PAUSED{"paused", {}};
const StartState PLAYING{"playing", {"ZORV/EscapeMenu/Resume"}};
const StartState CONFIRMING{"confirming", {"ZORV/EscapeMenu/Exit"}};
const StartState ABOUT{"about open", {"ZORV/EscapeMenu/About"}};
const StartState LOOPING{"looping", {"ZORV/EscapeMenu/LoopOn"}};

struct Row {
    const StartState& start;
    const char* input; // an action, or a click as PlaybackRig::click takes it
    bool keepRunning;
    const char* state;
};

// Runs a frame that reaches the row's start state, then one with its action or click, both
// of 0.25 s. A click writes one line; every action but the mouse click is asked for in any
// state.
void check(const Row& row, bool click) {
    SCOPED_TRACE(std::string(row.start.name) + " " + row.input);
    PlaybackRig rig;
    rig.offerAll();
    std::string lines;
    for (const char* name : row.start.clicks) {
        rig.click(name);
        lines += std::string(name) + " clicked\n";
    }
    ::testing::internal::CaptureStderr();
    rig.frames(1, 0.25f);
    if (click) {
        rig.click(row.input);
        lines += std::string(row.input) + " clicked\n";
    } else {
        rig.input.values[row.input] = 1.0f;
    }
    rig.log.calls.clear();
    EXPECT_EQ(rig.controller.renderFrame(0.25f), row.keepRunning);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), lines);
    EXPECT_EQ(state(rig.controller), row.state);
    EXPECT_EQ(
        rig.log.containing("getActionValue").size() - rig.log.containing("MOUSE_CLICK").size(), 6u);
}

TEST(PlaybackMenu, InputActionsActOnTheirStatesAndHoldFurtherKeysOff) {
    const Row rows[] = {
        {PAUSED, "RESET_SIMULATION", true,
         "menu=0 about=0 confirm=0 loop=0 auto=1 cooldown=0 rate=1 clock=0.35"},
        {PLAYING, "RESET_SIMULATION", true,
         "menu=0 about=0 confirm=0 loop=0 auto=1 cooldown=0 rate=1 clock=0.6"},
        {PAUSED, "SHOW_MENU", true,
         "menu=0 about=0 confirm=0 loop=0 auto=1 cooldown=0.5 rate=1 clock=0.35"},
        {PLAYING, "SHOW_MENU", true,
         "menu=1 about=0 confirm=0 loop=0 auto=1 cooldown=0.5 rate=0 clock=0.35"},
        {CONFIRMING, "SHOW_MENU", true,
         "menu=1 about=0 confirm=0 loop=0 auto=1 cooldown=0.5 rate=0 clock=0.1"},
        {PAUSED, "SHOW_ABOUT", true,
         "menu=1 about=1 confirm=0 loop=0 auto=1 cooldown=0.5 rate=0 clock=0.1"},
        {PLAYING, "SHOW_ABOUT", true,
         "menu=0 about=0 confirm=0 loop=0 auto=1 cooldown=0 rate=1 clock=0.6"},
        // Looping with no keyframes restarts at every frame.
        {PAUSED, "SHOW_OPTIONS", true,
         "menu=1 about=0 confirm=0 loop=1 auto=1 cooldown=0.5 rate=0 clock=0.25"},
        {PLAYING, "SHOW_OPTIONS", true,
         "menu=0 about=0 confirm=0 loop=0 auto=1 cooldown=0 rate=1 clock=0.6"},
        {PAUSED, "EXIT", true,
         "menu=1 about=0 confirm=1 loop=0 auto=1 cooldown=0.5 rate=0 clock=0.1"},
        {CONFIRMING, "EXIT", false,
         "menu=1 about=0 confirm=1 loop=0 auto=1 cooldown=0.5 rate=0 clock=0.1"},
        {PLAYING, "EXIT", true,
         "menu=0 about=0 confirm=0 loop=0 auto=1 cooldown=0 rate=1 clock=0.6"},
        {PAUSED, "MOUSE_CLICK", true,
         "menu=1 about=0 confirm=0 loop=0 auto=1 cooldown=0.5 rate=0 clock=0.1"},
        {PLAYING, "MOUSE_CLICK", true,
         "menu=0 about=0 confirm=0 loop=0 auto=1 cooldown=0 rate=1 clock=0.6"},
        {PAUSED, "CAMERA_5", true,
         "menu=1 about=0 confirm=0 loop=0 auto=0 cooldown=0.5 rate=0 clock=0.1"},
        {PLAYING, "CAMERA_5", true,
         "menu=0 about=0 confirm=0 loop=0 auto=0 cooldown=0.5 rate=1 clock=0.6"},
    };
    for (const Row& row : rows)
        check(row, false);
}

TEST(PlaybackMenu, OneAcceptedKeyHoldsTheOthersOffForHalfASecond) {
    PlaybackRig rig;
    rig.offerAll();
    rig.input.values = {{"SHOW_MENU", 1.0f}, {"CAMERA_5", 1.0f}};
    rig.frames(1, 0.25f);
    EXPECT_FALSE(rig.controller.isMenuShown());
    EXPECT_TRUE(rig.controller.isCameraAuto());
    rig.input.values.erase("SHOW_MENU");
    // A remainder however small still holds keys off; the count-down ends at exactly 0.
    rig.frames(1, 0.4f);
    EXPECT_TRUE(rig.controller.isCameraAuto());
    EXPECT_GT(rig.controller.getInputCooldown(), 0.0f);
    rig.frames(1, 0.1f);
    EXPECT_FALSE(rig.controller.isCameraAuto());
    // Clicks are not held off and do not hold keys off.
    rig.click("ZORV/Panel/CameraManual");
    rig.input.values.clear();
    rig.frames(1, 0.25f);
    EXPECT_TRUE(rig.controller.isCameraAuto());
}

TEST(PlaybackMenu, ClicksActOnTheirStatesAndEachWritesOneLine) {
    const Row rows[] = {
        {PAUSED, "ZORV/EscapeMenu/Resume", true,
         "menu=0 about=0 confirm=0 loop=0 auto=1 cooldown=0 rate=1 clock=0.35"},
        {PLAYING, "ZORV/EscapeMenu/Resume", true,
         "menu=1 about=0 confirm=0 loop=0 auto=1 cooldown=0 rate=0 clock=0.35"},
        {CONFIRMING, "ZORV/EscapeMenu/Resume", true,
         "menu=0 about=0 confirm=0 loop=0 auto=1 cooldown=0 rate=1 clock=0.35"},
        {PAUSED, "ZORV/EscapeMenu/About", true,
         "menu=1 about=1 confirm=0 loop=0 auto=1 cooldown=0 rate=0 clock=0.1"},
        {ABOUT, "ZORV/EscapeMenu/About", true,
         "menu=1 about=0 confirm=0 loop=0 auto=1 cooldown=0 rate=0 clock=0.1"},
        {ABOUT, "ZORV/About Close", true,
         "menu=1 about=0 confirm=0 loop=0 auto=1 cooldown=0 rate=0 clock=0.1"},
        {PAUSED, "ZORV/EscapeMenu/LoopOn", true,
         "menu=1 about=0 confirm=0 loop=1 auto=1 cooldown=0 rate=0 clock=0.25"},
        {LOOPING, "ZORV/EscapeMenu/LoopOff", true,
         "menu=1 about=0 confirm=0 loop=0 auto=1 cooldown=0 rate=0 clock=0.25"},
        {PAUSED, "ZORV/EscapeMenu/Restart", true,
         "menu=0 about=0 confirm=0 loop=0 auto=1 cooldown=0 rate=1 clock=0.5"},
        {PAUSED, "ZORV/EscapeMenu/Exit", true,
         "menu=1 about=0 confirm=1 loop=0 auto=1 cooldown=0 rate=0 clock=0.1"},
        {CONFIRMING, "ZORV/EscapeMenu/Exit", true,
         "menu=1 about=0 confirm=0 loop=0 auto=1 cooldown=0 rate=0 clock=0.1"},
        {PAUSED, "ZORV/ConfirmExit/OK", false,
         "menu=1 about=0 confirm=0 loop=0 auto=1 cooldown=0 rate=0 clock=0.1"},
        {CONFIRMING, "ZORV/ConfirmExit/Cancel", true,
         "menu=1 about=0 confirm=0 loop=0 auto=1 cooldown=0 rate=0 clock=0.1"},
        {CONFIRMING, "ZORV/ConfirmExit Close", true,
         "menu=1 about=0 confirm=0 loop=0 auto=1 cooldown=0 rate=0 clock=0.1"},
        {PLAYING, "ZORV/Panel/CameraAuto", true,
         "menu=0 about=0 confirm=0 loop=0 auto=0 cooldown=0 rate=1 clock=0.6"},
    };
    for (const Row& row : rows)
        check(row, true);
}

TEST(PlaybackMenu, AllClicksOfOneFrameArePolledInOrder) {
    PlaybackRig rig;
    rig.offerAll();
    for (const char* click :
         {"ZORV/Panel/CameraManual", "ZORV/Panel/CameraAuto", "ZORV/ConfirmExit Close",
          "ZORV/ConfirmExit/Cancel", "ZORV/ConfirmExit/OK", "ZORV/EscapeMenu/Exit",
          "ZORV/EscapeMenu/Restart", "ZORV/EscapeMenu/LoopOff", "ZORV/EscapeMenu/LoopOn",
          "ZORV/About Close", "ZORV/EscapeMenu/About", "ZORV/EscapeMenu/Resume"})
        rig.click(click);
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(rig.controller.renderFrame(0.25f));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "ZORV/EscapeMenu/Resume clicked\n"
                                                        "ZORV/EscapeMenu/About clicked\n"
                                                        "ZORV/About Close clicked\n"
                                                        "ZORV/EscapeMenu/LoopOn clicked\n"
                                                        "ZORV/EscapeMenu/LoopOff clicked\n"
                                                        "ZORV/EscapeMenu/Restart clicked\n"
                                                        "ZORV/EscapeMenu/Exit clicked\n"
                                                        "ZORV/ConfirmExit/OK clicked\n"
                                                        "ZORV/ConfirmExit/Cancel clicked\n"
                                                        "ZORV/ConfirmExit Close clicked\n"
                                                        "ZORV/Panel/CameraAuto clicked\n"
                                                        "ZORV/Panel/CameraManual clicked\n");
}

TEST(PlaybackMenu, TransitionsShowAndHideTheirElementsWithTheStatusTexts) {
    EXPECT_TRUE(PlaybackController().isMenuOrAutoCamera());
    PlaybackRig rig;
    rig.start(keyframesXml("<keyframe time=\"100\"/>"));
    // Both toggles of the menu in one frame close it once; closing closes its windows.
    rig.offerAll();
    rig.click("ZORV/EscapeMenu/About");
    rig.frames(1, 0.25f);
    rig.input.values["SHOW_MENU"] = 1.0f;
    rig.click("ZORV/EscapeMenu/Resume");
    rig.log.calls.clear();
    rig.frames(1, 0.25f);
    EXPECT_EQ(shown(rig), (Calls{"overlay:ZORV/EscapeMenu.hide()", "overlay.notifyResumed()",
                                 "overlay:ZORV/StatusText.setText(Simulation Status: Playing)",
                                 "overlay:ZORV/About.hide()", "scene.setTimeScale(1)"}));

    rig.log.calls.clear();
    rig.input.values.clear();
    rig.click("ZORV/Panel/CameraAuto");
    rig.click("ZORV/EscapeMenu/LoopOn");
    rig.frames(1, 0.25f);
    EXPECT_EQ(
        shown(rig),
        (Calls{"overlay:ZORV/Panel/CameraManual.show()", "overlay:ZORV/Panel/CameraAuto.hide()",
               "overlay:ZORV/EscapeMenu/LoopOn.hide()", "overlay:ZORV/EscapeMenu/LoopOff.show()",
               "scene.setTimeScale(1)", "camera.setOrientation(0.5, 0.5, 0.5, 0.5)",
               "camera.setWorldVelocity(0, 0, 0)", "camera.setLocalVelocity(0, 0, 0)"}));
    EXPECT_FALSE(rig.controller.isMenuOrAutoCamera());

    rig.log.calls.clear();
    rig.input.values = {{"SHOW_MENU", 1.0f}};
    rig.click("ZORV/Panel/CameraManual");
    rig.click("ZORV/EscapeMenu/LoopOff");
    rig.frames(1, 0.25f);
    EXPECT_EQ(
        shown(rig),
        (Calls{"overlay:ZORV/EscapeMenu.show()", "overlay.notifyPaused()",
               "overlay:ZORV/StatusText.setText(Simulation Status: Paused)",
               "overlay:ZORV/Panel/CameraManual.hide()", "overlay:ZORV/Panel/CameraAuto.show()",
               "overlay:ZORV/EscapeMenu/LoopOn.show()", "overlay:ZORV/EscapeMenu/LoopOff.hide()",
               "scene.setTimeScale(0)"}));
    EXPECT_TRUE(rig.controller.isMenuOrAutoCamera());
}

TEST(PlaybackMenu, TheCompleteRunIsReportedEveryFrameAlsoOverTheMenusText) {
    PlaybackRig rig;
    rig.offerAll();
    rig.start(keyframesXml("<keyframe time=\"0.2\"/>"));
    rig.click("ZORV/EscapeMenu/Resume");
    rig.frames(2, 0.25f);
    EXPECT_TRUE(rig.log.containing("Complete").empty());
    rig.input.values = {{"SHOW_MENU", 1.0f}};
    rig.log.calls.clear();
    rig.frames(3, 0.25f);
    EXPECT_EQ(rig.log.containing("ZORV/StatusText"),
              (Calls{"overlay:ZORV/StatusText.setText(Simulation Status: Paused)",
                     "overlay:ZORV/StatusText.setText(Simulation Status: Complete)",
                     "overlay:ZORV/StatusText/Static1.setText()",
                     "overlay:ZORV/StatusText.setText(Simulation Status: Complete)",
                     "overlay:ZORV/StatusText/Static1.setText()",
                     "overlay:ZORV/StatusText.setText(Simulation Status: Playing)",
                     "overlay:ZORV/StatusText.setText(Simulation Status: Complete)",
                     "overlay:ZORV/StatusText/Static1.setText()"}));
}

TEST(PlaybackMenu, TheTimeBarShowsTheShareOfTheRunWhilePlaying) {
    PlaybackRig rig;
    rig.offerAll();
    rig.start(keyframesXml("<keyframe time=\"2\"/>"));
    rig.frames(1, 0.5f);
    EXPECT_EQ(rig.log.containing("Timebar"),
              (Calls{"overlay:ZORV/Timebar.setInteractive(0)", "overlay:ZORV/Timebar.Release()"}));
    rig.click("ZORV/EscapeMenu/Resume");
    rig.frames(2, 0.5f);
    EXPECT_EQ(rig.log.containing("setProgress"),
              (Calls{"overlay:ZORV/Timebar/bar.setProgress(5)",
                     "overlay:ZORV/Timebar/bar.setProgress(30)"}));
    // A bar that is refused is still released; a script ending at 0 shows the run complete.
    rig.log.calls.clear();
    rig.overlay.element("ZORV/Timebar").grantsProgressBar = false;
    rig.frames(1, 0.5f);
    EXPECT_EQ(rig.log.effects(),
              (Calls{"overlay:ZORV/Timebar.setInteractive(0)", "overlay:ZORV/Timebar.Release()",
                     "overlay:ZORV/Timebar.Release()", "scene.setTimeScale(1)"}));

    PlaybackRig empty;
    empty.offerAll();
    empty.click("ZORV/EscapeMenu/Resume");
    empty.frames(1, 0.5f);
    EXPECT_EQ(empty.log.containing("setProgress"),
              Calls{"overlay:ZORV/Timebar/bar.setProgress(100)"});
}

TEST(PlaybackMenu, KeysAloneDrivePlaybackWithoutAnOverlay) {
    PlaybackRig rig;
    rig.host.add(UUID::fromFields(1, 0, 0, 1), &rig.input);
    FakeGuiOverlay bare(rig.log, "bare", {});
    rig.host.add(UUID::fromFields(1, 0, 0, 2), &bare);
    rig.input.values = {{"SHOW_MENU", 1.0f}};
    rig.frames(1, 0.25f);
    EXPECT_EQ(rig.controller.getRate(), 1.0f);
    EXPECT_FLOAT_EQ(rig.controller.getClock(), 0.35f);
    EXPECT_EQ(rig.log.effects(), Calls{"bare.notifyResumed()"});

    PlaybackRig keysOnly;
    keysOnly.host.add(UUID::fromFields(1, 0, 0, 1), &keysOnly.input);
    keysOnly.input.values = {{"SHOW_MENU", 1.0f}};
    keysOnly.frames(1, 0.25f);
    EXPECT_EQ(keysOnly.controller.getRate(), 1.0f);
    EXPECT_FLOAT_EQ(keysOnly.controller.getClock(), 0.35f);
}

} // namespace
} // namespace corvane
