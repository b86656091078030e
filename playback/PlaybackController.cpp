#include "playback/PlaybackController.h"

#include <cmath>

#include <tinyxml.h>

#include "framework/Identifiers.h"
#include "platform/DebugOutput.h"
#include "playback/ScriptInsertion.h"

namespace corvane {

const char* const PlaybackController::KEYFRAME_FILE = ScriptSource::DEFAULT_FILE;
const char* const PlaybackController::CAMERA_ENTITY = KeyframePlayer::CAMERA_ENTITY;

PlaybackController::PlaybackController() = default;

PlaybackController::~PlaybackController() = default;

HRESULT PlaybackController::QueryInterface(const UUID& iid, void** out) {
    if (iid == IID_IPlaybackStatus)
        *out = static_cast<IPlaybackStatus*>(this);
    else if (iid == IID_IPlaybackTimeline)
        *out = static_cast<IPlaybackTimeline*>(this);
    else if (iid == IID_IPlaybackStaging)
        *out = static_cast<IPlaybackStaging*>(this);
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
    return menu.isCameraAuto() || menu.isMenuShown();
}

float PlaybackController::getTime() {
    return player.getClock();
}

float PlaybackController::getLength() {
    return timeline.getLength();
}

bool PlaybackController::seekTo(float seconds) {
    return timeline.seekTo(seconds);
}

void PlaybackController::setSpeed(float factor) {
    timeline.setSpeed(factor);
}

float PlaybackController::getSpeed() {
    return player.getSpeed();
}

bool PlaybackController::stepFrames(std::int32_t frames) {
    return timeline.stepFrames(frames);
}

std::uint32_t PlaybackController::getScriptVersion() {
    return player.getVersion();
}

std::uint32_t PlaybackController::getMarkerCount() {
    return timeline.markerCount();
}

bool PlaybackController::getMarker(std::uint32_t index, float& seconds, std::uint32_t& kind,
                                   std::string& label) {
    return timeline.marker(index, seconds, kind, label);
}

void PlaybackController::setInPoint() {
    timeline.setInPoint();
}

void PlaybackController::setOutPoint() {
    timeline.setOutPoint();
}

void PlaybackController::clearRange() {
    timeline.clearRange();
}

bool PlaybackController::getRange(float& in, float& out) {
    if (!timeline.hasRange())
        return false;
    in = timeline.rangeIn();
    out = timeline.rangeOut();
    return true;
}

bool PlaybackController::recordCameraKey() {
    if (menu.isCameraAuto()) {
        note.show("The script's camera plays: switch to the free camera (5) to record one");
        return false;
    }
    if (providers.cameraControls.empty()) {
        note.show("There is no camera to record");
        return false;
    }
    ICameraControl& camera = **providers.cameraControls.begin();
    const float time = player.getClock();
    const ScriptInsertion::Lines lines =
        CameraKeyRecorder::keyframeLines(time, camera.getPosition(), camera.getOrientation());
    ScriptSource& script = player.getScript();
    std::string written;
    std::string problem;
    if (!recorder.record(script, time, lines, written, problem)) {
        // The keyframe stays on the screen and in the output, to be copied by hand.
        DebugOutput::line("PlaybackController::recordCameraKey(): " + script.path() + " " +
                          problem +
                          "; the keyframe is not written: " + CameraKeyRecorder::oneLine(lines));
        note.show("Not written (" + problem + "): " + CameraKeyRecorder::oneLine(lines));
        return false;
    }
    DebugOutput::line("PlaybackController::recordCameraKey(): the camera at " +
                      PlaybackTimeline::clockText(time) + " is written into " + written);
    note.show("Camera recorded at " + PlaybackTimeline::clockText(time) + " into " + written);
    // A watched script is loaded again by its watch, as after any edit.
    if (!script.isWatched())
        timeline.reloadScript();
    return true;
}

void PlaybackController::requestExit() {
    menu.requestExit();
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
    player.getScript().configure(environment->FirstChildElement("script"));
    if (const TiXmlElement* start = environment->FirstChildElement("start")) {
        const char* playing = start->Attribute("playing");
        const std::string value = playing != nullptr ? playing : "";
        if (value == "true" || value == "false")
            startsPlaying = value == "true";
        else
            DebugOutput::line("PlaybackController::parseEnvironment(): \"start\" (row " +
                              std::to_string(start->Row()) + ") has playing=\"" + value +
                              "\", neither \"true\" nor \"false\"; playback starts paused");
        if (startsPlaying)
            menu.resumeAtFirstFrame();
        if (const char* text = start->Attribute("frames")) {
            double frames = 0.0;
            if (start->QueryDoubleAttribute("frames", &frames) == TIXML_SUCCESS && frames >= 0.0 &&
                frames < 1e12 && frames == std::floor(frames))
                timeline.startAtFrame(static_cast<std::uint64_t>(frames));
            else
                DebugOutput::line("PlaybackController::parseEnvironment(): \"start\" (row " +
                                  std::to_string(start->Row()) + ") has frames=\"" + text +
                                  "\", not a whole number of frames; playback starts at its "
                                  "beginning");
        }
        if (const char* text = start->Attribute("clock")) {
            double seconds = 0.0;
            if (start->QueryDoubleAttribute("clock", &seconds) == TIXML_SUCCESS && seconds >= 0.0 &&
                seconds <= 1.0)
                player.setStartClock(static_cast<float>(seconds));
            else
                DebugOutput::line("PlaybackController::parseEnvironment(): \"start\" (row " +
                                  std::to_string(start->Row()) + ") has clock=\"" + text +
                                  "\", not a time from 0 to 1 s; the clock starts at " +
                                  DebugOutput::number(player.getStartClock()));
        }
    }
}

bool PlaybackController::start() {
    if (!timeline.canStart())
        return false;
    loadKeyframes();
    player.getScript().start();
    // The viewer draws its first frame before the playback's first frame resumes: a
    // playback that starts playing shows so on the overlays it finds already.
    if (startsPlaying) {
        bindOverlays();
        for (IGuiOverlay* overlay : providers.guiOverlays)
            menu.showPlaying(*overlay);
    }
    return true;
}

void PlaybackController::stop() {}

void PlaybackController::loadKeyframes() {
    player.load();
}

void PlaybackController::bindProviders() {
    providers.actionInputs.bind(IID_IActionInput);
    providers.cameraControls.bind(IID_ICameraControl);
    // Scene objects stand still until the user first resumes playback.
    providers.sceneAccesses.bind(
        IID_ISceneAccess, [this](ISceneAccess* scene) { scene->setTimeScale(player.getRate()); });
    bindOverlays();
    providers.soundBanks.bind(IID_ISoundBank);
}

void PlaybackController::bindOverlays() {
    providers.guiOverlays.bind(IID_IGuiOverlay, [this](IGuiOverlay* overlay) {
        menu.hideAtBinding(*overlay, startsPlaying);
    });
}

bool PlaybackController::renderFrame(float seconds) {
    menu.countDown(seconds);
    bindProviders();

    PlaybackMenu::WorkingCopies working = menu.begin();
    menu.readInputActions(working);
    menu.pollClicks(working, seconds);
    const PlaybackMenu::Change change = menu.changeRate(working);
    if (change.closes)
        timeline.resumed();
    for (IGuiOverlay* overlay : providers.guiOverlays) {
        menu.show(*overlay, working, change);
        if (player.getRate() > 0.0f)
            timeline.updateTimeBar(*overlay);
    }
    menu.commit(working);

    timeline.beforeAdvance(seconds);
    player.advance(seconds, menu.isCameraAuto(), timeline.restartsAtEnd());
    timeline.afterAdvance();
    note.advance(seconds);
    return working.keepRunning;
}

} // namespace corvane
