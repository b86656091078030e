#include "playback/PlaybackMenu.h"

#include <string>

#include "framework/IActionInput.h"
#include "framework/IGuiElement.h"
#include "framework/OverlayElementNames.h"
#include "platform/DebugOutput.h"
#include "playback/OverlayCalls.h"

namespace corvane {

namespace names = OverlayElementNames;

namespace {

// Each hit is written to the diagnostic channel, as "<name><what>".
bool polled(IGuiOverlay& overlay, const char* name, bool (IGuiElement::*poll)(), const char* what) {
    IGuiElement* element = overlay.getElement(name);
    if (element == nullptr || !(element->*poll)())
        return false;
    DebugOutput::line(std::string(name) + what);
    return true;
}

bool clicked(IGuiOverlay& overlay, const char* name) {
    return polled(overlay, name, &IGuiElement::wasClicked, " clicked");
}

bool closeClicked(IGuiOverlay& overlay, const char* name) {
    return polled(overlay, name, &IGuiElement::wasCloseClicked, " Close clicked");
}

bool triggered(IActionInput& input, const std::string& action) {
    return input.getActionValue(action) > 0.0f;
}

} // namespace

void PlaybackMenu::countDown(float seconds) {
    if (inputCooldown > 0.0f) {
        inputCooldown -= seconds;
        if (inputCooldown < 0.0f)
            inputCooldown = 0.0f;
    }
}

PlaybackMenu::WorkingCopies PlaybackMenu::begin() {
    WorkingCopies working{menuShown,  aboutShown,  optionsShown, confirmExitShown,
                          cameraAuto, loopEnabled, true};
    if (resumePending)
        working.menuShown = false;
    if (pausePending && !menuShown)
        working.menuShown = true;
    // The exit asked for while playing opens the confirmation with the menu; the exit
    // action given again then ends, no earlier than the cooldown allows.
    if (exitPending && !menuShown) {
        working.menuShown = true;
        working.confirmExitShown = true;
        inputCooldown = INPUT_COOLDOWN;
    }
    resumePending = pausePending = exitPending = false;
    return working;
}

void PlaybackMenu::readInputActions(WorkingCopies& working) {
    for (IActionInput* input : providers.actionInputs) {
        if (triggered(*input, "RESET_SIMULATION") && menuShown) {
            player.setClock(player.getStartClock());
            player.restart();
            working.menuShown = false;
        }
        if (triggered(*input, "SHOW_MENU") && cooldownFree()) {
            // With the exit confirmation open, the menu key only closes the confirmation.
            if (confirmExitShown)
                working.confirmExitShown = false;
            else
                working.menuShown = !menuShown;
            inputCooldown = INPUT_COOLDOWN;
        }
        if (triggered(*input, "SHOW_ABOUT") && cooldownFree() && menuShown) {
            working.aboutShown = !aboutShown;
            inputCooldown = INPUT_COOLDOWN;
        }
        if (triggered(*input, "SHOW_OPTIONS") && cooldownFree() && menuShown) {
            working.loopEnabled = !loopEnabled;
            inputCooldown = INPUT_COOLDOWN;
        }
        if (triggered(*input, "EXIT") && cooldownFree() && menuShown) {
            if (confirmExitShown)
                working.keepRunning = false;
            else
                working.confirmExitShown = true;
            inputCooldown = INPUT_COOLDOWN;
        }
        // A click on the open menu belongs to the overlay; it only holds the keys off.
        if (menuShown && cooldownFree() && triggered(*input, "MOUSE_CLICK"))
            inputCooldown = INPUT_COOLDOWN;
        if (triggered(*input, "CAMERA_5") && cooldownFree()) {
            working.cameraAuto = !cameraAuto;
            inputCooldown = INPUT_COOLDOWN;
        }
    }
}

void PlaybackMenu::pollClicks(WorkingCopies& working, float seconds) {
    for (IGuiOverlay* overlay : providers.guiOverlays) {
        if (clicked(*overlay, names::RESUME))
            working.menuShown = !menuShown;
        if (clicked(*overlay, names::ABOUT_BUTTON))
            working.aboutShown = !aboutShown;
        if (closeClicked(*overlay, names::ABOUT))
            working.aboutShown = false;
        if (clicked(*overlay, names::LOOP_ON))
            working.loopEnabled = true;
        if (clicked(*overlay, names::LOOP_OFF))
            working.loopEnabled = false;
        if (clicked(*overlay, names::RESTART)) {
            player.setClock(seconds);
            player.restart();
            working.menuShown = false;
        }
        if (clicked(*overlay, names::EXIT_BUTTON))
            working.confirmExitShown = !confirmExitShown;
        if (clicked(*overlay, names::CONFIRM_OK))
            working.keepRunning = false;
        if (clicked(*overlay, names::CONFIRM_CANCEL))
            working.confirmExitShown = false;
        if (closeClicked(*overlay, names::CONFIRM_EXIT))
            working.confirmExitShown = false;
        if (clicked(*overlay, names::CAMERA_AUTO))
            working.cameraAuto = false;
        if (clicked(*overlay, names::CAMERA_MANUAL))
            working.cameraAuto = true;
        if (IGuiElement* timeBar = overlay->getElement(names::TIME_BAR)) {
            // The bar only shows progress and takes no clicks.
            timeBar->setInteractive(0);
            timeBar->Release();
        }
    }
}

PlaybackMenu::Change PlaybackMenu::changeRate(WorkingCopies& working) {
    Change change;
    change.opens = working.menuShown && !menuShown;
    change.closes = !working.menuShown && menuShown;
    // The clock advance of this frame already uses the new rate.
    if (change.opens)
        player.setRate(0.0f);
    if (change.closes) {
        player.setRate(player.getSpeed());
        working.confirmExitShown = false;
        working.aboutShown = false;
        working.optionsShown = false;
    }
    return change;
}

void PlaybackMenu::show(IGuiOverlay& overlay, const WorkingCopies& working, Change change) {
    if (change.opens) {
        setElementVisible(overlay, names::ESCAPE_MENU, true);
        overlay.notifyPaused();
        setElementText(overlay, names::STATUS_TEXT, player.statusLine("Paused"));
    } else if (change.closes) {
        setElementVisible(overlay, names::ESCAPE_MENU, false);
        overlay.notifyResumed();
        setElementText(overlay, names::STATUS_TEXT, player.statusLine("Playing"));
    }
    if (working.confirmExitShown != confirmExitShown)
        setElementVisible(overlay, names::CONFIRM_EXIT, working.confirmExitShown);
    if (working.aboutShown != aboutShown)
        setElementVisible(overlay, names::ABOUT, working.aboutShown);
    if (working.optionsShown != optionsShown)
        setElementVisible(overlay, names::OPTIONS, working.optionsShown);
    // Each mode shows the button that switches to the other one.
    if (working.cameraAuto != cameraAuto) {
        setElementVisible(overlay, names::CAMERA_MANUAL, !working.cameraAuto);
        setElementVisible(overlay, names::CAMERA_AUTO, working.cameraAuto);
    }
    if (working.loopEnabled != loopEnabled) {
        setElementVisible(overlay, names::LOOP_ON, !working.loopEnabled);
        setElementVisible(overlay, names::LOOP_OFF, working.loopEnabled);
    }
    // Written on every frame of a complete run, so it also replaces the menu's texts.
    if (player.isComplete()) {
        setElementText(overlay, names::STATUS_TEXT, player.statusLine("Complete"));
        setElementText(overlay, names::STATUS_CAPTION, "");
    }
}

void PlaybackMenu::showPlaying(IGuiOverlay& overlay) {
    setElementVisible(overlay, names::ESCAPE_MENU, false);
    setElementText(overlay, names::STATUS_TEXT, player.statusLine("Playing"));
}

void PlaybackMenu::commit(const WorkingCopies& working) {
    menuShown = working.menuShown;
    aboutShown = working.aboutShown;
    optionsShown = working.optionsShown;
    confirmExitShown = working.confirmExitShown;
    cameraAuto = working.cameraAuto;
    loopEnabled = working.loopEnabled;
}

void PlaybackMenu::hideAtBinding(IGuiOverlay& overlay, bool startsPlaying) {
    for (const char* window :
         {names::CONFIRM_EXIT, names::ABOUT, names::OPTIONS, names::CAMERA_MANUAL})
        setElementVisible(overlay, window, false);
    // The overlay shows the menu by itself: a playback that started playing hides it.
    if (startsPlaying && !menuShown)
        setElementVisible(overlay, names::ESCAPE_MENU, false);
}

} // namespace corvane
