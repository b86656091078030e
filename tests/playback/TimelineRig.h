#pragma once

#include <string>

#include "playback/PlaybackController.h"
#include "tests/playback/RecordingFakes.h"
#include "tests/support/FakeHost.h"
#include "tests/support/PressedActions.h"
#include "tests/support/TemporaryFolder.h"
#include "tools/HeadlessViewer.h"

namespace corvane::testing {

// The viewer without a window and the playback controller, offered to each other by a fake
// host as the host offers them (the viewer first), with input actions and an overlay from a
// third plug-in.
// The viewer loads a scene of the demo's folder (or another) over the generated media; the
// controller plays `keyframes`, written into a folder of its own.
class TimelineRig {
public:
    TimelineRig(const std::string& sceneFile, const std::string& keyframes,
                const std::string& scriptAttributes = "");
    // The same over a scene of `sceneFolder`.
    TimelineRig(const std::string& sceneFolder, const std::string& sceneFile,
                const std::string& keyframes, const std::string& scriptAttributes);

    // One host frame: the viewer's motion, then the playback's frame.
    void frame(float seconds);
    void frames(int count, float seconds);
    // Pressed in the next frame.
    void press(const std::string& action) { input.next.insert(action); }
    // The text of an overlay element.
    std::string text(const std::string& element) { return overlay.element(element).text; }

    // Every entity's attachment, node transform and animation states, every scene node's
    // transform, the scene's own animation states and the camera's motion, each number exactly
    // (hexadecimal), one per line.
    std::string sceneState() const;

    // The folder that holds the script ("keyframes.xml").
    TemporaryFolder folder;
    FakeHost host;
    PressedActions input;
    CallLog log;
    FakeGuiOverlay overlay{log, "overlay"};
    tools::HeadlessViewer viewer;
    PlaybackController controller;
};

} // namespace corvane::testing
