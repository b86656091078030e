#include "playback/PlaybackController.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <tinyxml.h>
#include <utility>
#include <vector>

#include "framework/IGuiElement.h"
#include "framework/IGuiProgressBar.h"
#include "framework/ISceneObject.h"
#include "framework/ISound.h"
#include "framework/Identifiers.h"
#include "platform/DebugOutput.h"
#include "playback/KeyframeLoader.h"

namespace corvane {

const char* const PlaybackController::KEYFRAME_FILE = ScriptSource::DEFAULT_FILE;
const char* const PlaybackController::CAMERA_ENTITY = "CAMERA";

namespace {

const FloatVector3 STANDING{0.0f, 0.0f, 0.0f};

// Every element is looked up each time it is used; an element the overlay lacks only
// drops that use.
void setVisible(IGuiOverlay& overlay, const std::string& name, bool visible) {
    IGuiElement* element = overlay.getElement(name);
    if (element == nullptr)
        return;
    if (visible)
        element->show();
    else
        element->hide();
}

void setText(IGuiOverlay& overlay, const std::string& name, const std::string& text) {
    if (IGuiElement* element = overlay.getElement(name))
        element->setText(text);
}

// Each hit is written to the diagnostic channel, as "<name><what>".
bool polled(IGuiOverlay& overlay, const std::string& name, bool (IGuiElement::*poll)(),
            const char* what) {
    IGuiElement* element = overlay.getElement(name);
    if (element == nullptr || !(element->*poll)())
        return false;
    DebugOutput::line(name + what);
    return true;
}

bool clicked(IGuiOverlay& overlay, const std::string& name) {
    return polled(overlay, name, &IGuiElement::wasClicked, " clicked");
}

bool closeClicked(IGuiOverlay& overlay, const std::string& name) {
    return polled(overlay, name, &IGuiElement::wasCloseClicked, " Close clicked");
}

bool triggered(IActionInput& input, const std::string& action) {
    return input.getActionValue(action) > 0.0f;
}

} // namespace

PlaybackController::PlaybackController() = default;

PlaybackController::~PlaybackController() = default;

HRESULT PlaybackController::QueryInterface(const UUID& iid, void** out) {
    if (iid == IID_IPlaybackStatus)
        *out = static_cast<IPlaybackStatus*>(this);
    else if (iid == IID_IPlaybackTimeline)
        *out = static_cast<IPlaybackTimeline*>(this);
    else if (iid == IID_IPlaybackDirector || iid == IID_IUnknown)
        *out = static_cast<IPlaybackDirector*>(this);
    else
        return E_FAIL;
    AddRef();
    return S_OK;
}

std::int32_t PlaybackController::AddRef() {
    return ++referenceCount;
}

std::int32_t PlaybackController::Release() {
    return --referenceCount;
}

bool PlaybackController::isMenuOrAutoCamera() {
    return cameraAuto || menuShown;
}

float PlaybackController::getTime() {
    return clock;
}

float PlaybackController::getLength() {
    return std::max(duration, 0.0f);
}

bool PlaybackController::seekTo(float seconds) {
    if (std::isnan(seconds)) {
        DebugOutput::line("PlaybackController::seekTo(): nan is no time of the script; no seek");
        return false;
    }
    if (!seekAvailable())
        return false;
    seekTarget = seconds;
    return true;
}

void PlaybackController::setSpeed(float factor) {
    if (!(factor >= SLOWEST && factor <= FASTEST)) {
        DebugOutput::line("PlaybackController::setSpeed(): " + DebugOutput::number(factor) +
                          " is not a speed from " + DebugOutput::number(SLOWEST) + " to " +
                          DebugOutput::number(FASTEST) + "; it stays at " +
                          DebugOutput::number(speed));
        return;
    }
    speed = factor;
    if (rate > 0.0f) {
        rate = speed;
        for (IGuiOverlay* overlay : guiOverlays)
            setText(*overlay, "ZORV/StatusText", statusLine("Playing"));
    } else {
        for (IGuiOverlay* overlay : guiOverlays)
            setText(*overlay, "ZORV/StatusText", statusLine("Paused"));
    }
}

float PlaybackController::getSpeed() {
    return speed;
}

bool PlaybackController::stepFrames(std::int32_t frames) {
    if (rate > 0.0f || frames == 0 || !seekAvailable())
        return false;
    // At least one replayed frame, or a step could land where it started.
    const float step = std::max(FRAME_STEP, lastSeconds * speed);
    seekTarget = seekTarget.value_or(clock) + static_cast<float>(frames) * step;
    return true;
}

PLUGIN_INFO PlaybackController::pluginInfo() const {
    IPlaybackDirector* primary = const_cast<PlaybackController*>(this);
    return PLUGIN_INFO{PLUGIN_ID_PLAYBACK_DIRECTOR, {KIND_ID_PLAYBACK}, {}, primary};
}

void PlaybackController::parseEnvironment(const TiXmlElement* environment) {
    if (environment == nullptr)
        return;
    if (const TiXmlElement* entity = environment->FirstChildElement("entity"))
        if (const char* name = entity->Attribute("name"))
            configuredEntity = name;
    script.configure(environment->FirstChildElement("script"));
    if (const TiXmlElement* start = environment->FirstChildElement("start")) {
        const char* playing = start->Attribute("playing");
        const std::string value = playing != nullptr ? playing : "";
        if (value == "true" || value == "false")
            startsPlaying = value == "true";
        else
            DebugOutput::line("PlaybackController::parseEnvironment(): \"start\" (row " +
                              std::to_string(start->Row()) + ") has playing=\"" + value +
                              "\", neither \"true\" nor \"false\"; playback starts paused");
        resumePending = startsPlaying;
        if (const char* text = start->Attribute("frames")) {
            double value = 0.0;
            if (start->QueryDoubleAttribute("frames", &value) == TIXML_SUCCESS && value >= 0.0 &&
                value < 1e12 && value == std::floor(value))
                startFrames = static_cast<std::uint64_t>(value);
            else
                DebugOutput::line("PlaybackController::parseEnvironment(): \"start\" (row " +
                                  std::to_string(start->Row()) + ") has frames=\"" + text +
                                  "\", not a whole number of frames; playback starts at its "
                                  "beginning");
        }
        if (const char* text = start->Attribute("clock")) {
            double value = 0.0;
            if (start->QueryDoubleAttribute("clock", &value) == TIXML_SUCCESS && value >= 0.0 &&
                value <= 1.0)
                clock = startClock = static_cast<float>(value);
            else
                DebugOutput::line("PlaybackController::parseEnvironment(): \"start\" (row " +
                                  std::to_string(start->Row()) + ") has clock=\"" + text +
                                  "\", not a time from 0 to 1 s; the clock starts at " +
                                  DebugOutput::number(startClock));
        }
    }
}

bool PlaybackController::start() {
    loadKeyframes();
    script.start();
    return true;
}

void PlaybackController::stop() {}

void PlaybackController::loadKeyframes() {
    reportedLines.clear();
    script.load(pendingKeyframes);
    if (!pendingKeyframes.empty())
        duration = std::prev(pendingKeyframes.end())->first;
}

void PlaybackController::bindProviders() {
    actionInputs.bind(IID_IActionInput);
    cameraControls.bind(IID_ICameraControl);
    // Scene objects stand still until the user first resumes playback.
    sceneAccesses.bind(IID_ISceneAccess,
                       [this](ISceneAccess* scene) { scene->setTimeScale(rate); });
    guiOverlays.bind(IID_IGuiOverlay, [this](IGuiOverlay* overlay) {
        for (const char* window :
             {"ZORV/ConfirmExit", "ZORV/About", "ZORV/Options", "ZORV/Panel/CameraManual"})
            setVisible(*overlay, window, false);
        // The overlay shows the menu by itself: a playback that started playing hides it.
        if (startsPlaying && !menuShown)
            setVisible(*overlay, "ZORV/EscapeMenu", false);
    });
    soundBanks.bind(IID_ISoundBank);
}

bool PlaybackController::renderFrame(float seconds) {
    if (inputCooldown > 0.0f) {
        inputCooldown -= seconds;
        if (inputCooldown < 0.0f)
            inputCooldown = 0.0f;
    }
    bindProviders();

    WorkingCopies working{menuShown,  aboutShown,  optionsShown, confirmExitShown,
                          cameraAuto, loopEnabled, true};
    // Playing from the start: the first frame resumes, as the menu's Resume would.
    if (resumePending) {
        working.menuShown = false;
        resumePending = false;
    }
    readInputActions(working);
    pollClicks(working, seconds);
    showTransitions(working);
    menuShown = working.menuShown;
    aboutShown = working.aboutShown;
    optionsShown = working.optionsShown;
    confirmExitShown = working.confirmExitShown;
    cameraAuto = working.cameraAuto;
    loopEnabled = working.loopEnabled;

    lastSeconds = seconds;
    if (script.changed(seconds))
        reloadScript();
    if (seekTarget) {
        const float target = *seekTarget;
        seekTarget.reset();
        seek(target, seconds);
    }
    if (startFrames > 0) {
        // A film's range: the frames before it replayed as a seek replays them, and the
        // sounds still playing then heard from where they are.
        replayFrames = startFrames;
        startFrames = 0;
        if (seekAvailable())
            seek(0.0f, seconds);
        else
            DebugOutput::line("PlaybackController: the viewer offers no timeline; playback "
                              "starts at the beginning instead of frame " +
                              std::to_string(*replayFrames));
        replayedSounds.resume(soundBanks, *replayFrames, seconds);
        replayFrames.reset();
    }
    advancePlayback(seconds);
    return working.keepRunning;
}

void PlaybackController::advancePlayback(float seconds) {
    for (ISceneAccess* scene : sceneAccesses)
        scene->setTimeScale(rate);
    if (!cameraAuto)
        holdCamera();
    applyDueKeyframes();
    clock += seconds * rate;
    if (pendingKeyframes.empty() && loopEnabled) {
        // The keyframes due again are applied from the next frame on.
        clock = seconds;
        restart();
    }
}

// Every action is asked for on every frame, whatever its conditions, except the mouse
// click; the cooldown is tested and set on the field itself.
void PlaybackController::readInputActions(WorkingCopies& working) {
    for (IActionInput* input : actionInputs) {
        if (triggered(*input, "RESET_SIMULATION") && menuShown) {
            clock = startClock;
            restart();
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

// Clicks are neither held off by the input cooldown nor set it.
void PlaybackController::pollClicks(WorkingCopies& working, float seconds) {
    for (IGuiOverlay* overlay : guiOverlays) {
        if (clicked(*overlay, "ZORV/EscapeMenu/Resume"))
            working.menuShown = !menuShown;
        if (clicked(*overlay, "ZORV/EscapeMenu/About"))
            working.aboutShown = !aboutShown;
        if (closeClicked(*overlay, "ZORV/About"))
            working.aboutShown = false;
        if (clicked(*overlay, "ZORV/EscapeMenu/LoopOn"))
            working.loopEnabled = true;
        if (clicked(*overlay, "ZORV/EscapeMenu/LoopOff"))
            working.loopEnabled = false;
        if (clicked(*overlay, "ZORV/EscapeMenu/Restart")) {
            clock = seconds;
            restart();
            working.menuShown = false;
        }
        if (clicked(*overlay, "ZORV/EscapeMenu/Exit"))
            working.confirmExitShown = !confirmExitShown;
        if (clicked(*overlay, "ZORV/ConfirmExit/OK"))
            working.keepRunning = false;
        if (clicked(*overlay, "ZORV/ConfirmExit/Cancel"))
            working.confirmExitShown = false;
        if (closeClicked(*overlay, "ZORV/ConfirmExit"))
            working.confirmExitShown = false;
        if (clicked(*overlay, "ZORV/Panel/CameraAuto"))
            working.cameraAuto = false;
        if (clicked(*overlay, "ZORV/Panel/CameraManual"))
            working.cameraAuto = true;
        if (IGuiElement* timeBar = overlay->getElement("ZORV/Timebar")) {
            // The bar only shows progress and takes no clicks.
            timeBar->setInteractive(0);
            timeBar->Release();
        }
    }
}

void PlaybackController::showTransitions(WorkingCopies& working) {
    const bool menuOpens = working.menuShown && !menuShown;
    const bool menuCloses = !working.menuShown && menuShown;
    // The playback state follows the menu once per frame, also with no overlay to show it;
    // the clock advance of this frame already uses the new rate.
    if (menuOpens)
        rate = 0.0f;
    if (menuCloses) {
        rate = speed;
        // Closing the menu closes the windows that belong to it.
        working.confirmExitShown = false;
        working.aboutShown = false;
        working.optionsShown = false;
    }
    for (IGuiOverlay* overlay : guiOverlays)
        showTransitions(*overlay, working, menuOpens, menuCloses);
}

void PlaybackController::showTransitions(IGuiOverlay& overlay, const WorkingCopies& working,
                                         bool menuOpens, bool menuCloses) {
    if (menuOpens) {
        setVisible(overlay, "ZORV/EscapeMenu", true);
        overlay.notifyPaused();
        setText(overlay, "ZORV/StatusText", statusLine("Paused"));
    } else if (menuCloses) {
        setVisible(overlay, "ZORV/EscapeMenu", false);
        overlay.notifyResumed();
        setText(overlay, "ZORV/StatusText", statusLine("Playing"));
    }
    if (working.confirmExitShown != confirmExitShown)
        setVisible(overlay, "ZORV/ConfirmExit", working.confirmExitShown);
    if (working.aboutShown != aboutShown)
        setVisible(overlay, "ZORV/About", working.aboutShown);
    if (working.optionsShown != optionsShown)
        setVisible(overlay, "ZORV/Options", working.optionsShown);
    // Each mode shows the button that switches to the other one.
    if (working.cameraAuto != cameraAuto) {
        setVisible(overlay, "ZORV/Panel/CameraManual", !working.cameraAuto);
        setVisible(overlay, "ZORV/Panel/CameraAuto", working.cameraAuto);
    }
    if (working.loopEnabled != loopEnabled) {
        setVisible(overlay, "ZORV/EscapeMenu/LoopOn", !working.loopEnabled);
        setVisible(overlay, "ZORV/EscapeMenu/LoopOff", working.loopEnabled);
    }
    // Written on every frame of a complete run, so it also replaces the menu's texts.
    if (pendingKeyframes.empty()) {
        setText(overlay, "ZORV/StatusText", statusLine("Complete"));
        setText(overlay, "ZORV/StatusText/Static1", "");
    }
    if (rate > 0.0f)
        updateTimeBar(overlay);
}

void PlaybackController::updateTimeBar(IGuiOverlay& overlay) {
    IGuiElement* timeBar = overlay.getElement("ZORV/Timebar");
    if (timeBar == nullptr)
        return;
    void* out = nullptr;
    timeBar->QueryInterface(IID_IGuiProgressBar, &out);
    if (out != nullptr) {
        IGuiProgressBar* progress = static_cast<IGuiProgressBar*>(out);
        // Not clamped: the bar passes 100 while the clock runs on after the last keyframe.
        // A script that ends at or before time 0 is played in full from the start.
        progress->setProgress(duration > 0.0f ? clock / duration * 100.0f : 100.0f);
        progress->Release();
    }
    timeBar->Release();
}

std::string PlaybackController::statusLine(const char* state) const {
    std::string line = std::string("Simulation Status: ") + state;
    if (speed != 1.0f)
        line += " (" + DebugOutput::number(speed) + "x)";
    return line;
}

bool PlaybackController::seekAvailable() {
    sceneTimelines.bind(IID_ISceneTimeline);
    return !sceneTimelines.empty();
}

void PlaybackController::seek(float target, float seconds) {
    // The frames of the replay are this frame's: with a fixed step, the host's own.
    const float step = seconds * speed;
    const float length = getLength();
    target = std::clamp(target, 0.0f, length);
    if (!(step > 0.0f) || !std::isfinite(step) ||
        (!replayFrames && (target - startClock) / step > MOST_SEEK_FRAMES)) {
        DebugOutput::line("PlaybackController::seekTo(): " + DebugOutput::number(target) +
                          " s at frames of " + DebugOutput::number(seconds) +
                          " s is more than the playback replays; no seek");
        return;
    }
    // The free camera stays where the user put it.
    std::vector<std::pair<FloatVector3, FloatQuaternion>> userCameras;
    if (!cameraAuto)
        for (ICameraControl* camera : cameraControls)
            userCameras.emplace_back(camera->getPosition(), camera->getOrientation());
    for (ISceneTimeline* timeline : sceneTimelines)
        if (!timeline->restoreLoadedScene()) {
            DebugOutput::line("PlaybackController::seekTo(): the viewer has no scene to go back "
                              "to; no seek");
            return;
        }

    // The run from the start, as the host runs it: the viewer's frame first, with the time
    // scale of the playback frame before it (the start is paused), then the playback's.
    const float playingRate = rate;
    replaying = true;
    rate = speed;
    clock = startClock;
    restart();
    statusText.clear();
    for (ISceneAccess* scene : sceneAccesses)
        scene->setTimeScale(0.0f);
    // Lands on the frame nearest to the target; the end is the first frame past it, where
    // the last keyframes are due.
    const float halfStep = step / 2.0f;
    // A range's start replays its number of frames, however the clock's sums round.
    auto reached = [&](double frames) {
        if (replayFrames)
            return frames >= static_cast<double>(*replayFrames);
        return target < length ? clock >= target - halfStep : clock > duration;
    };
    for (double frames = 0.0; !reached(frames) && (replayFrames || frames <= MOST_SEEK_FRAMES);
         ++frames) {
        replayFrame = static_cast<std::uint64_t>(frames);
        for (ISceneTimeline* timeline : sceneTimelines)
            timeline->advanceScene(seconds);
        advancePlayback(seconds);
    }
    // The viewer's part of this frame: the rest of the frame is the playback's own.
    for (ISceneTimeline* timeline : sceneTimelines)
        timeline->advanceScene(seconds);
    rate = playingRate;
    replaying = false;

    auto camera = userCameras.begin();
    for (ICameraControl* control : cameraControls) {
        if (camera == userCameras.end())
            break;
        control->setCameraPosition(camera->first);
        control->setOrientation(camera->second);
        control->setWorldVelocity(STANDING);
        control->setLocalVelocity(STANDING);
        ++camera;
    }
    for (IGuiOverlay* overlay : guiOverlays) {
        const bool complete = pendingKeyframes.empty();
        setText(*overlay, "ZORV/StatusText",
                statusLine(complete      ? "Complete"
                           : rate > 0.0f ? "Playing"
                                         : "Paused"));
        setText(*overlay, "ZORV/StatusText/Static1", complete ? std::string() : statusText);
        updateTimeBar(*overlay);
    }
}

void PlaybackController::reloadScript() {
    KeyframeMap reloaded;
    if (!script.load(reloaded))
        return;
    pendingKeyframes = std::move(reloaded);
    reportedLines.clear();
    playedKeyframes.clear();
    duration = pendingKeyframes.empty() ? 0.0f : std::prev(pendingKeyframes.end())->first;
    DebugOutput::line("PlaybackController: " + script.path() + " changed; " +
                      std::to_string(pendingKeyframes.size()) + " keyframes reloaded at " +
                      DebugOutput::number(clock) + " s");
    // Without a timeline, the keyframes before the clock are applied at once instead.
    if (seekAvailable())
        seekTarget = clock;
}

void PlaybackController::holdCamera() {
    for (ICameraControl* camera : cameraControls) {
        // Setting the orientation again ends a turn that a camera keyframe started.
        camera->setOrientation(camera->getOrientation());
        camera->setWorldVelocity(STANDING);
        camera->setLocalVelocity(STANDING);
    }
}

void PlaybackController::applyDueKeyframes() {
    // Everything before the first keyframe at or after the clock is due, whether playback
    // is paused or not. Taking keyframes from just before that one leaves it valid.
    const KeyframeMap::iterator notDue = pendingKeyframes.lower_bound(clock);
    while (notDue != pendingKeyframes.begin()) {
        KeyframeMap::node_type node = pendingKeyframes.extract(std::prev(notDue));
        applyKeyframe(node.mapped());
        playedKeyframes.insert(std::move(node));
    }
}

void PlaybackController::applyKeyframe(const Keyframe& keyframe) {
    bool found = false;
    for (ISceneAccess* scene : sceneAccesses) {
        ISceneObject* object = scene->getSceneObject(keyframe.entity);
        if (object == nullptr)
            continue;
        found = true;
        for (const KeyframeAction& action : keyframe.actions)
            performOnObject(*scene, *object, keyframe, action);
        // Every keyframe places its object in full; absent elements carry their defaults.
        object->setPosition(keyframe.position);
        object->setVelocity(keyframe.velocity);
        object->setMoveTarget(keyframe.velocityTarget);
        object->setOrientation(keyframe.orientation);
        object->startRotationSlerp(keyframe.multiplier, keyframe.orientation, keyframe.slerpTarget);
    }
    if (!found && !sceneAccesses.empty() && keyframe.entity != CAMERA_ENTITY &&
        keyframe.needsEntity())
        reportOnce(keyframe.row, "no scene has entity \"" + keyframe.entity +
                                     "\"; the keyframe does nothing to it");
    // Sounds that some bank has, by their place in the action list.
    std::vector<bool> heard(
        static_cast<std::size_t>(std::distance(keyframe.actions.begin(), keyframe.actions.end())));
    for (ISoundBank* bank : soundBanks) {
        // A seek replays the script silently; a range's start keeps what would be heard.
        if (replaying) {
            if (replayFrames)
                replayedSounds.note(keyframe, replayFrame);
            break;
        }
        std::size_t index = 0;
        for (const KeyframeAction& action : keyframe.actions) {
            const std::size_t at = index++;
            if (action.code != KeyframeActionType::PlaySound &&
                action.code != KeyframeActionType::StopSound)
                continue;
            ISound* sound = bank->findSound(action.name);
            if (sound == nullptr)
                continue;
            heard[at] = true;
            if (action.code == KeyframeActionType::PlaySound)
                sound->play();
            else
                sound->stop();
        }
    }
    if (!soundBanks.empty() && !replaying) {
        std::size_t index = 0;
        for (const KeyframeAction& action : keyframe.actions)
            if (!heard[index++] && (action.code == KeyframeActionType::PlaySound ||
                                    action.code == KeyframeActionType::StopSound))
                reportOnce(action.row, "no sound bank has sound \"" + action.name +
                                           "\"; the action does nothing");
    }
    // With the manual camera, camera keyframes are used up without touching the camera.
    if (cameraAuto && keyframe.entity == CAMERA_ENTITY) {
        for (ICameraControl* camera : cameraControls) {
            camera->setCameraPosition(keyframe.position);
            camera->setWorldVelocity(keyframe.velocity);
            camera->setMoveTarget(keyframe.velocityTarget);
            camera->setOrientation(keyframe.orientation);
            camera->startRotationSlerp(keyframe.multiplier, keyframe.orientation,
                                       keyframe.slerpTarget);
        }
    }
    // Of several texts the last performed, the first in the file, stays visible; a seek
    // shows only the one it ends with.
    for (const KeyframeAction& action : keyframe.actions)
        if (action.code == KeyframeActionType::StatusText)
            statusText = action.name;
    for (IGuiOverlay* overlay : guiOverlays)
        for (const KeyframeAction& action : keyframe.actions)
            if (action.code == KeyframeActionType::StatusText && !replaying)
                setText(*overlay, "ZORV/StatusText/Static1", action.name);
}

void PlaybackController::performOnObject(ISceneAccess& scene, ISceneObject& object,
                                         const Keyframe& keyframe, const KeyframeAction& action) {
    const std::string& name = action.name;
    switch (action.code) {
    case KeyframeActionType::Play:
        object.setAnimationRate(name, action.value);
        break;
    case KeyframeActionType::PlayTarget:
        object.setAnimationStopTime(name, action.value);
        break;
    case KeyframeActionType::SetApplied:
        object.setAnimationEnabled(name, action.value != 0.0f);
        break;
    case KeyframeActionType::SetLoop:
        object.setAnimationLoop(name, action.value != 0.0f);
        break;
    case KeyframeActionType::SetWeight:
        object.setAnimationWeight(name, action.value);
        break;
    case KeyframeActionType::SetTime:
        object.setAnimationTimePosition(name, action.value);
        break;
    case KeyframeActionType::WeightSlide:
        object.setWeightSlideRate(name, action.value);
        break;
    case KeyframeActionType::WeightSlideTarget:
        object.setWeightSlideTarget(name, action.value);
        break;
    case KeyframeActionType::AttachToBone: {
        // "bone:holder": this entity hangs from the holder's bone, offset by the keyframe's
        // orientation and position. A name without a colon names both.
        const std::size_t colon = name.find(':');
        const std::string bone = name.substr(0, colon);
        const std::string holderName = colon == std::string::npos ? name : name.substr(colon + 1);
        ISceneObject* holder = scene.getSceneObject(holderName);
        if (holder == &object)
            reportOnce(action.row,
                       keyframe.entity + " cannot hang on its own bone \"" + bone + "\"");
        else if (holder != nullptr)
            holder->attachToBone(bone, &object, keyframe.orientation, keyframe.position);
        else
            reportOnce(action.row, "no scene has entity \"" + holderName + "\" to hang " +
                                       keyframe.entity + " on; the action does nothing");
        break;
    }
    case KeyframeActionType::DetachFromBone:
        object.detachFromBone(name);
        break;
    case KeyframeActionType::AttachToSceneNode:
        object.attachToSceneNode(name);
        break;
    case KeyframeActionType::PlaySound:
    case KeyframeActionType::StopSound:
    case KeyframeActionType::StatusText:
        break; // not the entity's
    }
}

void PlaybackController::reportOnce(int row, const std::string& what) {
    std::string line = "PlaybackController::applyKeyframe(): " + script.path() + " row " +
                       std::to_string(row) + ": " + what;
    if (reportedLines.insert(line).second)
        DebugOutput::line(line);
}

void PlaybackController::restart() {
    // Keyframes of one time come out of the played ones in the reverse of the order in which
    // they were applied: moving them back from the end restores the pending order, so that
    // every run applies them as the first did.
    while (!playedKeyframes.empty())
        pendingKeyframes.insert(playedKeyframes.extract(std::prev(playedKeyframes.end())));
}

} // namespace corvane
