// bench_seek: a seek to 60 s of a script that moves, turns and animates 200 figures, at
// frames of 1/60 s, against the 60 s of script it covers; and one replayed frame of the
// seek against one frame of playing the same scene without rendering. Prints one
// "name: value" line per figure.
//
// The viewer is the plug-in's own object without a window, the playback the plug-in's
// controller, found by each other through a fake host as in the tests.
#include <chrono>
#include <cstdio>
#include <string>

#include "tests/playback/TimelineRig.h"
#include "tests/support/TemporaryFolder.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int FIGURES = 200;
constexpr float SCRIPT_SECONDS = 60.0f;
constexpr float STEP = 1.0f / 60.0f;
constexpr float KEYFRAME_EVERY = 4.0f;

std::string number(float value) {
    char text[32];
    std::snprintf(text, sizeof(text), "%g", static_cast<double>(value));
    return text;
}

// The figures on a grid, 20 units apart.
std::string scene() {
    std::string text = "<scene formatVersion=\"1.0\"><nodes>";
    for (int index = 0; index < FIGURES; ++index)
        text += "<node name=\"figure" + std::to_string(index) + "\"><position x=\"" +
                std::to_string(index % 20 * 20) + "\" z=\"" + std::to_string(-index / 20 * 20) +
                "\"/><entity name=\"figure" + std::to_string(index) +
                "\" meshfile=\"figure.mesh\"/></node>";
    return text + "</nodes></scene>";
}

// Every 4 s each figure sets off towards a place 10 units on, turning a quarter turn on
// the way; it walks, and every other time cross-fades into a wave and back. The figures'
// keyframes are spread over each 4 s so that every frame applies a few.
std::string script() {
    std::string text = "<keyframes>";
    for (int index = 0; index < FIGURES; ++index) {
        const std::string entity = "entity_figure" + std::to_string(index);
        const float x = static_cast<float>(index % 20 * 20);
        const float z = static_cast<float>(-index / 20 * 20);
        text += "<keyframe entity=\"" + entity + "\" time=\"0\"><position x=\"" + number(x) +
                "\" z=\"" + number(z) +
                "\"/><animation name=\"Walk\" type=\"SETLOOP\" value=\"1\"/>"
                "<animation name=\"Wave\" type=\"SETLOOP\" value=\"1\"/></keyframe>";
        int leg = 0;
        for (float time = index * KEYFRAME_EVERY / FIGURES; time < SCRIPT_SECONDS;
             time += KEYFRAME_EVERY, ++leg) {
            const float from = x + static_cast<float>(leg % 2 == 0 ? 0 : 10);
            const float to = x + static_cast<float>(leg % 2 == 0 ? 10 : 0);
            const bool wave = leg % 2 == 1;
            text +=
                "<keyframe entity=\"" + entity + "\" time=\"" + number(time) + "\"><position x=\"" +
                number(from) + "\" z=\"" + number(z) + "\"/><velocity x=\"" +
                number((to - from) / 3.0f) + "\"/><velocitytarget x=\"" + number(to) + "\" z=\"" +
                number(z) + "\"/><slerp w=\"0.7071\" y=\"" + (wave ? "-0.7071" : "0.7071") +
                "\" multiplier=\"0.4\"/>"
                "<animation name=\"Walk\" type=\"PLAY\" value=\"1\"/>"
                "<animation name=\"Wave\" type=\"PLAY\" value=\"1\"/>"
                "<animation name=\"Walk\" type=\"WEIGHTSLIDE\" value=\"" +
                (wave ? "-1" : "1") +
                "\"/><animation name=\"Walk\" type=\"WEIGHTSLIDETARGET\" value=\"" +
                (wave ? "0" : "1") + "\"/><animation name=\"Wave\" type=\"WEIGHTSLIDE\" value=\"" +
                (wave ? "1" : "-1") +
                "\"/><animation name=\"Wave\" type=\"WEIGHTSLIDETARGET\" value=\"" +
                (wave ? "1" : "0") + "\"/></keyframe>";
        }
    }
    return text + "<keyframe entity=\"narrator\" time=\"" + number(SCRIPT_SECONDS) +
           "\"/></keyframes>";
}

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

} // namespace

int main() {
    using corvane::testing::TimelineRig;
    corvane::testing::TemporaryFolder folder;
    folder.write("crowd.scene", scene());
    TimelineRig rig(folder.path(), "crowd.scene", script(), "");

    // Played: resumed in the first frame, then frame after frame to the end of the script.
    rig.press("SHOW_MENU");
    rig.frame(STEP);
    int played = 0;
    const Clock::time_point playing = Clock::now();
    while (rig.controller.getTime() < SCRIPT_SECONDS) {
        rig.frame(STEP);
        ++played;
    }
    const double playFrame = secondsSince(playing) / played;

    // Paused, then a seek from the start to the end: the frame that runs it.
    rig.press("SHOW_MENU");
    rig.frame(STEP);
    double seek = 0.0;
    constexpr int SEEKS = 3;
    for (int round = 0; round < SEEKS; ++round) {
        rig.controller.seekTo(0.0f);
        rig.frame(STEP);
        rig.controller.seekTo(SCRIPT_SECONDS);
        const Clock::time_point seeking = Clock::now();
        rig.frame(STEP);
        seek += secondsSince(seeking) / SEEKS;
    }
    const double seekFrame = seek / (SCRIPT_SECONDS / STEP);

    std::printf("seek_60_s_of_200_figures_ms: %.1f\n", seek * 1e3);
    std::printf("seek_to_script_time_ratio: %.4f\n", seek / SCRIPT_SECONDS);
    std::printf("seek_frame_us: %.1f\n", seekFrame * 1e6);
    std::printf("playback_frame_without_rendering_us: %.1f\n", playFrame * 1e6);
    std::printf("seek_frame_to_playback_frame_ratio: %.3f\n", seekFrame / playFrame);
    return 0;
}
