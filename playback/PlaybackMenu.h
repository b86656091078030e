#pragma once

#include "framework/IGuiOverlay.h"
#include "playback/KeyframePlayer.h"
#include "playback/PlaybackProviders.h"

namespace corvane {

// The escape menu's state machine: the menu (open while paused), the about, options and
// exit windows, looping and the camera mode, driven by input actions and clicks on the
// overlay's buttons, shown through the overlay with the status line.
//
// Within a frame each flag has its committed value and a working copy: input actions and
// clicks test the committed values and write the copies, the transitions act on each
// difference, and commit() makes the copies the values. Two toggles of one flag in a frame
// therefore act as one.
class PlaybackMenu {
public:
    // The flags as changed by one frame's input and clicks, and the frame's result.
    struct WorkingCopies {
        bool menuShown;
        bool aboutShown;
        bool optionsShown;
        bool confirmExitShown;
        bool cameraAuto;
        bool loopEnabled;
        bool keepRunning;
    };
    // How the menu changes in this frame.
    struct Change {
        bool opens = false;
        bool closes = false;
    };

    PlaybackMenu(PlaybackProviders& providers, KeyframePlayer& player)
        : providers(providers), player(player) {}

    // Counts the input cooldown down by the frame's seconds, to 0 at the least.
    void countDown(float seconds);
    // The frame's working copies, with what was asked for since the last frame: the first
    // frame's resume of a playback that starts playing, a pause, the exit while playing.
    WorkingCopies begin();
    // Every action is asked for on every frame, whatever its conditions, except the mouse
    // click; the cooldown is tested and set on the field itself.
    void readInputActions(WorkingCopies& working);
    // Clicks are neither held off by the input cooldown nor set it.
    void pollClicks(WorkingCopies& working, float seconds);
    // The playback's rate follows the menu, also with no overlay to show it; closing the
    // menu closes the windows that belong to it.
    Change changeRate(WorkingCopies& working);
    // The frame's changes on one overlay: windows, buttons and the status line.
    void show(IGuiOverlay& overlay, const WorkingCopies& working, Change change);
    void commit(const WorkingCopies& working);
    // The windows that the overlay shows by itself and that start hidden; the menu too
    // when playback `startsPlaying` and has already resumed.
    void hideAtBinding(IGuiOverlay& overlay, bool startsPlaying);

    // The menu closed and the status playing, before the first frame has resumed.
    void showPlaying(IGuiOverlay& overlay);
    // The first frame resumes, as the menu's Resume would.
    void resumeAtFirstFrame() { resumePending = true; }
    // The next frame opens the menu, pausing.
    void requestPause() { pausePending = true; }
    // The next frame opens the menu with the exit confirmation, while playing.
    void requestExit() { exitPending = true; }

    bool isMenuShown() const { return menuShown; }
    bool isAboutShown() const { return aboutShown; }
    bool isOptionsShown() const { return optionsShown; }
    bool isConfirmExitShown() const { return confirmExitShown; }
    bool isCameraAuto() const { return cameraAuto; }
    bool isLoopEnabled() const { return loopEnabled; }
    float getInputCooldown() const { return inputCooldown; }

    // Seconds during which further gated input actions are ignored once one is accepted.
    static constexpr float INPUT_COOLDOWN = 0.5f;

private:
    bool cooldownFree() const { return inputCooldown == 0.0f; }

    PlaybackProviders& providers;
    KeyframePlayer& player;
    bool menuShown = true;
    bool aboutShown = false;
    bool optionsShown = false;
    bool confirmExitShown = false;
    float inputCooldown = 0.0f;
    bool cameraAuto = true;
    bool loopEnabled = false;
    bool resumePending = false;
    bool pausePending = false;
    bool exitPending = false;
};

} // namespace corvane
