// The range that plays and the camera recorded into the script, on the viewer plug-in's own
// object without a window.
#include <cmath>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/playback/TimelineRig.h"

namespace corvane::testing {
namespace {

constexpr float STEP = 1.0f / 30.0f;

const char* const SCRIPT = R"(<keyframes>
  <keyframe entity="entity_figure" time="0"><position x="36" y="-10" z="-40"/></keyframe>
  <keyframe entity="entity_figure" time="0.5">
    <position x="36" y="-10" z="-40"/><velocity x="-4"/><velocitytarget x="8" y="-10" z="-40"/>
  </keyframe>

  <!-- the end -->
  <keyframe entity="narrator" time="6"/>
</keyframes>
)";

TEST(PlaybackRange, LoopsWithinTheRangeOrPausesAtItsEndAndAnInPointAfterTheOutTradesPlaces) {
    for (const bool looping : {true, false}) {
        SCOPED_TRACE(looping ? "looping" : "not looping");
        TimelineRig rig("demo.scene", SCRIPT);
        if (looping)
            rig.press("SHOW_OPTIONS");
        rig.frame(STEP);
        rig.frames(20, STEP); // the cooldown of the first key
        rig.press("SHOW_MENU");
        rig.frames(30, STEP);
        rig.controller.setInPoint();
        const float in = rig.controller.getTime();
        // An out point before the in point: the two trade places.
        rig.controller.seekTo(0.5f);
        rig.controller.setOutPoint();
        float first = 0.0f;
        float last = 0.0f;
        ASSERT_TRUE(rig.controller.getRange(first, last));
        EXPECT_EQ(first, 0.5f);
        EXPECT_EQ(last, in);
        const float out = last;
        rig.controller.seekTo(0.7f);
        float lowest = 1e9f;
        float highest = 0.0f;
        for (int frame = 0; frame < 120; ++frame) {
            rig.frame(STEP);
            lowest = std::min(lowest, rig.controller.getTime());
            highest = std::max(highest, rig.controller.getTime());
        }
        EXPECT_LT(highest, out + 2.0f * STEP);
        if (looping) {
            EXPECT_LT(lowest, first + 2.0f * STEP) << "went back to the in point";
            EXPECT_FALSE(rig.controller.isMenuShown());
        } else {
            EXPECT_GE(lowest, 0.7f - STEP);
            EXPECT_TRUE(rig.controller.isMenuShown());
        }
        rig.controller.clearRange();
        EXPECT_FALSE(rig.controller.getRange(first, last));
    }
}

TEST(CameraRecording, WritesTheFreeCameraIntoTheScriptInTimeOrderAndLoadsItAgain) {
    TimelineRig rig("demo.scene", SCRIPT);
    const std::string path = rig.folder.path() + "/keyframes.xml";
    rig.press("SHOW_MENU");
    rig.frames(30, STEP);
    // The script's camera: nothing is written.
    EXPECT_FALSE(rig.controller.recordCameraKey());
    rig.press("CAMERA_5");
    rig.frame(STEP);
    rig.viewer.setCameraPosition({1.5f, 5.0f, 30.0f});
    rig.viewer.setOrientation({1.0f, 0.0f, 0.0f, 0.0f});
    const float time = rig.controller.getTime();
    ::testing::internal::CaptureStderr();
    ASSERT_TRUE(rig.controller.recordCameraKey());
    const std::string lines = ::testing::internal::GetCapturedStderr();
    char seconds[16];
    std::snprintf(seconds, sizeof(seconds), "%g", std::round(time * 1000.0) / 1000.0);
    std::string expected = SCRIPT;
    expected.insert(expected.find("\n\n  <!--"),
                    std::string("\n  <keyframe entity=\"CAMERA\" time=\"") + seconds +
                        "\">\n    <position x=\"1.5\" y=\"5\" z=\"30\"/>\n"
                        "    <orientation w=\"1\" x=\"0\" y=\"0\" z=\"0\"/>\n  </keyframe>");
    EXPECT_EQ(TemporaryFolder::read(path), expected);
    EXPECT_EQ(TemporaryFolder::read(path + ".bak"), SCRIPT);
    EXPECT_NE(lines.find("is written into keyframes.xml:6\n"), std::string::npos) << lines;
    EXPECT_EQ(rig.controller.getPendingKeyframes().size() +
                  rig.controller.getPlayedKeyframes().size(),
              4u);
    // A second recording keeps the first copy.
    rig.frames(3, STEP);
    ASSERT_TRUE(rig.controller.recordCameraKey());
    EXPECT_EQ(TemporaryFolder::read(path + ".bak"), SCRIPT);
}

TEST(CameraRecording, AFileThatCannotBeWrittenIsLeftAloneAndTheKeyframeShown) {
    const struct Row {
        const char* what;
        void (*spoil)(const std::string& path);
        const char* problem;
    } rows[] = {
        {"read-only", [](const std::string& path) { ::chmod(path.c_str(), 0444); },
         " is read-only; the keyframe is not written: <keyframe entity=\"CAMERA\""},
        {"changed",
         [](const std::string& path) { std::ofstream(path, std::ios::app) << "<!-- -->\n"; },
         " has changed on disk since it was loaded; the keyframe is not written: "},
        {"gone", [](const std::string& path) { std::filesystem::remove(path); },
         " is gone; the keyframe is not written: "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        TimelineRig rig("demo.scene", SCRIPT);
        const std::string path = rig.folder.path() + "/keyframes.xml";
        rig.press("CAMERA_5");
        rig.frame(STEP);
        row.spoil(path);
        const std::string before =
            std::filesystem::exists(path) ? TemporaryFolder::read(path) : "(gone)";
        ::testing::internal::CaptureStderr();
        EXPECT_FALSE(rig.controller.recordCameraKey());
        EXPECT_EQ(::testing::internal::GetCapturedStderr().rfind(
                      "PlaybackController::recordCameraKey(): " + path + row.problem, 0),
                  0u);
        EXPECT_EQ(std::filesystem::exists(path) ? TemporaryFolder::read(path) : "(gone)", before);
        EXPECT_FALSE(std::filesystem::exists(path + ".bak"));
    }
}

} // namespace
} // namespace corvane::testing
