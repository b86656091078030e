// fuzz_playback: a whole played run from the fuzzer's bytes: a scene, a keyframe script and
// the user's input, the three parts of the text between lines "%%". The viewer plug-in's
// own object without a window (over the generated media) and the playback controller are
// offered to each other by a fake host as the host offers them, with the input actions of
// a third plug-in. The run starts playing (its first frame closes the menu, as a user's
// first key does) and lasts at most 240 frames, each derived as rendering derives it
// (ViewerRig), with the engine's assertions active in the fuzz build. The input part is
// words, acted on in order:
//   frames N                      N frames played
//   tick S                        frames of S seconds from now on (1/30 at first)
//   seek S, speed F, step N       the timeline's own slots, with these values
//   SEEK_BACK, SPEED_UP, ...      the timeline's keys, as the user interface performs them
//   any other word                an input action pressed in the next frame: SHOW_MENU,
//                                 EXIT, CAMERA_5, RESET_SIMULATION, ...
// A run ends early when the user confirms the exit. Besides the sanitizers' and the
// engine's findings it fails when an engine exception leaves a plug-in's call.
#include <algorithm>
#include <cmath>
#include <exception>
#include <string>
#include <tinyxml.h>

#include "framework/Identifiers.h"
#include "playback/PlaybackController.h"
#include "services/interface/TimelineKeys.h"
#include "tests/fuzz/FuzzTarget.h"
#include "tests/fuzz/ViewerRig.h"
#include "tests/fuzz/WordReader.h"
#include "tests/support/FakeHost.h"
#include "tests/support/PressedActions.h"

namespace {

using namespace corvane;

constexpr int MOST_FRAMES = 240;
constexpr int MOST_TIMELINE_CALLS = 8;
constexpr float FIRST_TICK = 1.0f / 30.0f;
// A seek replays the script from its start at the frames' step and speed: frames long
// enough for a replay of at most this many keep every run to milliseconds.
constexpr float MOST_REPLAYED_FRAMES = 400.0f;
constexpr const char* SEPARATOR = "\n%%\n";

// The parts of `text` between separators; missing parts are empty.
std::string part(const std::string& text, int index) {
    std::size_t start = 0;
    for (int skipped = 0; skipped < index; ++skipped) {
        const std::size_t found = text.find(SEPARATOR, start);
        if (found == std::string::npos)
            return {};
        start = found + std::char_traits<char>::length(SEPARATOR);
    }
    const std::size_t end = text.find(SEPARATOR, start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

bool isTimelineKey(const std::string& word) {
    return std::find(TimelineKeys::ACTIONS.begin(), TimelineKeys::ACTIONS.end(), word) !=
           TimelineKeys::ACTIONS.end();
}

// The viewer and the playback of one run, wired as the host wires them.
class PlayedRun {
public:
    PlayedRun(const std::string& scene, const std::string& script) : rig(scene) {
        host.add(PLUGIN_ID_SCENE_VIEWER, static_cast<IViewerCore*>(&rig.viewer));
        host.add(PLUGIN_ID_USER_INTERFACE, &input);
        host.add(PLUGIN_ID_PLAYBACK_DIRECTOR, static_cast<IPlaybackDirector*>(&controller));
        const std::string path = fuzz::writeScratch("keyframes.xml", script);
        TiXmlDocument environment;
        environment.Parse(("<environment><script src=\"" + path + "\"/></environment>").c_str());
        controller.parseEnvironment(environment.RootElement());
        controller.start();
    }

    void play(int frames) {
        for (; frames > 0 && running && played < MOST_FRAMES; --frames, ++played) {
            input.nextFrame();
            const float seconds = std::max(
                tick, controller.getLength() / (MOST_REPLAYED_FRAMES * controller.getSpeed()));
            rig.frame(seconds);
            running = controller.renderFrame(seconds);
        }
    }

    void act(fuzz::WordReader& words) {
        const std::string word = words.word();
        if (word == "frames") {
            play(words.count(MOST_FRAMES));
        } else if (word == "tick") {
            // A host gives frames of 0 seconds or more.
            const float seconds = words.real();
            tick = seconds >= 0.0f && std::isfinite(seconds) ? seconds : 0.0f;
        } else if (word == "seek" || word == "speed" || word == "step" || isTimelineKey(word)) {
            const float value = word == "seek" || word == "speed" ? words.real() : 0.0f;
            const double frames = word == "step" ? words.number() : 0.0;
            if (timelineCalls++ < MOST_TIMELINE_CALLS)
                useTimeline(word, value, frames);
        } else {
            input.next.insert(word);
        }
    }

    bool over() const { return !running || played >= MOST_FRAMES; }

    testing::FakeHost host;
    testing::PressedActions input;
    fuzz::ViewerRig rig;
    PlaybackController controller;

private:
    void useTimeline(const std::string& word, float value, double frames) {
        IPlaybackTimeline& timeline = controller;
        if (word == "seek")
            timeline.seekTo(value);
        else if (word == "speed")
            timeline.setSpeed(value);
        else if (word == "step")
            timeline.stepFrames(static_cast<std::int32_t>(std::fmax(-1e6, std::fmin(frames, 1e6))));
        else
            TimelineKeys::perform(word, timeline);
    }

    float tick = FIRST_TICK;
    int played = 0;
    int timelineCalls = 0;
    bool running = true;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = fuzz::text(data, size);
    try {
        PlayedRun run(part(text, 0), part(text, 1));
        run.input.next.insert("SHOW_MENU");
        run.play(1);
        fuzz::WordReader words(part(text, 2));
        while (!run.over() && !words.done())
            run.act(words);
        run.play(MOST_FRAMES);
        run.rig.derive();
    } catch (const std::exception& error) {
        fuzz::fail(error.what());
    }
    return 0;
}
