#include "playback/PlaybackTimeline.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "framework/IGuiElement.h"
#include "framework/IGuiProgressBar.h"
#include "framework/IPlaybackStaging.h"
#include "framework/Identifiers.h"
#include "framework/OverlayElementNames.h"
#include "platform/DebugOutput.h"
#include "playback/OverlayCalls.h"

namespace corvane {

namespace names = OverlayElementNames;

namespace {

const FloatVector3 STANDING{0.0f, 0.0f, 0.0f};

} // namespace

float PlaybackTimeline::getLength() const {
    return std::max(player.getDuration(), 0.0f);
}

bool PlaybackTimeline::seekTo(float seconds) {
    if (std::isnan(seconds)) {
        DebugOutput::line("PlaybackController::seekTo(): nan is no time of the script; no seek");
        return false;
    }
    if (!seekAvailable())
        return false;
    seekTarget = seconds;
    return true;
}

void PlaybackTimeline::setSpeed(float factor) {
    if (!(factor >= SLOWEST && factor <= FASTEST)) {
        DebugOutput::line("PlaybackController::setSpeed(): " + DebugOutput::number(factor) +
                          " is not a speed from " + DebugOutput::number(SLOWEST) + " to " +
                          DebugOutput::number(FASTEST) + "; it stays at " +
                          DebugOutput::number(player.getSpeed()));
        return;
    }
    player.setSpeed(factor);
    const bool playing = player.getRate() > 0.0f;
    if (playing)
        player.setRate(factor);
    for (IGuiOverlay* overlay : providers.guiOverlays)
        setElementText(*overlay, names::STATUS_TEXT,
                       player.statusLine(playing ? "Playing" : "Paused"));
}

bool PlaybackTimeline::stepFrames(std::int32_t frames) {
    if (player.getRate() > 0.0f || frames == 0 || !seekAvailable())
        return false;
    // At least one replayed frame, or a step could land where it started.
    const float step = std::max(FRAME_STEP, lastSeconds * player.getSpeed());
    seekTarget = seekTarget.value_or(player.getClock()) + static_cast<float>(frames) * step;
    return true;
}

void PlaybackTimeline::beforeAdvance(float seconds) {
    lastSeconds = seconds;
    if (player.getScript().changed(seconds))
        reloadScript();
    if (seekTarget) {
        const float target = *seekTarget;
        seekTarget.reset();
        seek(target, seconds);
    }
    if (startFrames > 0) {
        const std::uint64_t frames = std::exchange(startFrames, 0);
        // canStart() found the timeline.
        if (seekAvailable())
            seek(0.0f, seconds, frames);
        replayedSounds.resume(providers.soundBanks, frames, seconds);
    }
}

bool PlaybackTimeline::canStart() {
    if (startFrames == 0 || seekAvailable())
        return true;
    DebugOutput::line("PlaybackController::start(): the viewer offers no timeline, so playback "
                      "cannot begin at frame " +
                      std::to_string(startFrames) + "; it does not start");
    return false;
}

void PlaybackTimeline::updateTimeBar(IGuiOverlay& overlay) {
    IGuiElement* timeBar = overlay.getElement(names::TIME_BAR);
    if (timeBar == nullptr)
        return;
    void* out = nullptr;
    timeBar->QueryInterface(IID_IGuiProgressBar, &out);
    if (out != nullptr) {
        IGuiProgressBar* progress = static_cast<IGuiProgressBar*>(out);
        // Not clamped: the bar passes 100 while the clock runs on after the last keyframe.
        // A script that ends at or before time 0 is played in full from the start.
        const float duration = player.getDuration();
        progress->setProgress(duration > 0.0f ? player.getClock() / duration * 100.0f : 100.0f);
        progress->Release();
    }
    timeBar->Release();
}

void PlaybackTimeline::afterAdvance() {
    if (!playsRange() || !(player.getRate() > 0.0f) || player.getClock() < rangeOut())
        return;
    if (menu.isLoopEnabled() && seekAvailable()) {
        seekTarget = rangeIn();
        return;
    }
    menu.requestPause();
    note.show("Paused at the out point " + clockText(rangeOut()));
}

void PlaybackTimeline::resumed() {
    if (playsRange() && player.getClock() >= rangeOut() && seekAvailable())
        seekTarget = rangeIn();
}

void PlaybackTimeline::setInPoint() {
    setPoint(true);
}

void PlaybackTimeline::setOutPoint() {
    setPoint(false);
}

void PlaybackTimeline::setPoint(bool in) {
    // Seeks go no further than the script's length, and neither does the range.
    const float time = std::clamp(currentTime(), 0.0f, getLength());
    std::optional<float>& point = in ? inPoint : outPoint;
    std::optional<float>& other = in ? outPoint : inPoint;
    if (other && std::fabs(*other - time) < FRAME_STEP) {
        // A range shorter than a frame would go back to its start in every frame.
        note.show(std::string(in ? "No in point at " : "No out point at ") + clockText(time) +
                  ": the " + (in ? "out" : "in") + " point is there");
        return;
    }
    point = time;
    // An in point after the out point: the two trade places.
    if (inPoint && outPoint && *inPoint > *outPoint)
        std::swap(inPoint, outPoint);
    note.show("Range " + clockText(rangeIn()) + " to " + clockText(rangeOut()) +
              (menu.isLoopEnabled() ? ", looping" : ", pausing at its end"));
}

void PlaybackTimeline::clearRange() {
    if (!hasRange())
        return;
    inPoint.reset();
    outPoint.reset();
    note.show("No range: the whole script plays");
}

std::string PlaybackTimeline::clockText(float seconds) {
    char text[32];
    std::snprintf(text, sizeof(text), "%.2f s", static_cast<double>(seconds));
    return text;
}

std::uint32_t PlaybackTimeline::markerCount() {
    if (markersVersion != player.getVersion() || markers.empty()) {
        markersVersion = player.getVersion();
        markers.clear();
        // Keyframes keep their place in memory between the pending and the played ones.
        for (const KeyframeMap* keyframes :
             {&player.getPendingKeyframes(), &player.getPlayedKeyframes()})
            for (const auto& [time, keyframe] : *keyframes)
                markers.emplace_back(time, &keyframe);
        // Keyframes of one time in the file's order.
        std::stable_sort(markers.begin(), markers.end(), [](const auto& a, const auto& b) {
            return a.first < b.first || (a.first == b.first && a.second->row < b.second->row);
        });
    }
    return static_cast<std::uint32_t>(markers.size());
}

bool PlaybackTimeline::marker(std::uint32_t index, float& seconds, std::uint32_t& kind,
                              std::string& label) {
    if (index >= markerCount())
        return false;
    const Keyframe& keyframe = *markers[index].second;
    seconds = markers[index].first;
    bool sounds = false;
    for (const KeyframeAction& action : keyframe.actions)
        sounds = sounds || action.code == KeyframeActionType::PlaySound ||
                 action.code == KeyframeActionType::StopSound;
    if (keyframe.entity == KeyframePlayer::CAMERA_ENTITY)
        kind = IPlaybackStaging::CAMERA;
    else if (keyframe.needsEntity())
        kind = IPlaybackStaging::ENTITY;
    else
        kind = sounds ? IPlaybackStaging::SOUND : IPlaybackStaging::TEXT;
    label = clockText(seconds) + "  " + keyframe.entity + "  " +
            std::filesystem::path(player.getScript().path()).filename().string() + ":" +
            std::to_string(keyframe.row);
    return true;
}

bool PlaybackTimeline::seekAvailable() {
    providers.sceneTimelines.bind(IID_ISceneTimeline);
    return !providers.sceneTimelines.empty();
}

void PlaybackTimeline::seek(float target, float seconds,
                            std::optional<std::uint64_t> replayFrames) {
    // The frames of the replay are this frame's: with a fixed step, the host's own.
    const float step = seconds * player.getSpeed();
    const float length = getLength();
    target = std::clamp(target, 0.0f, length);
    if (!(step > 0.0f) || !std::isfinite(step) ||
        (!replayFrames && (target - player.getStartClock()) / step > MOST_SEEK_FRAMES)) {
        DebugOutput::line("PlaybackController::seekTo(): " + DebugOutput::number(target) +
                          " s at frames of " + DebugOutput::number(seconds) +
                          " s is more than the playback replays; no seek");
        return;
    }
    // The free camera stays where the user put it.
    std::vector<std::pair<FloatVector3, FloatQuaternion>> userCameras;
    if (!menu.isCameraAuto())
        for (ICameraControl* camera : providers.cameraControls)
            userCameras.emplace_back(camera->getPosition(), camera->getOrientation());
    for (ISceneTimeline* timeline : providers.sceneTimelines)
        if (!timeline->restoreLoadedScene()) {
            DebugOutput::line("PlaybackController::seekTo(): the viewer has no scene to go back "
                              "to; no seek");
            return;
        }

    // The run from the start, as the host runs it: the viewer's frame first, with the time
    // scale of the playback frame before it (the start is paused), then the playback's.
    const float playingRate = player.getRate();
    player.setReplaying(true);
    player.setRate(player.getSpeed());
    player.setClock(player.getStartClock());
    player.restart();
    player.clearStatusText();
    for (ISceneAccess* scene : providers.sceneAccesses)
        scene->setTimeScale(0.0f);
    // Lands on the frame nearest to the target; the end is the first frame past it, where
    // the last keyframes are due.
    const float halfStep = step / 2.0f;
    const float duration = player.getDuration();
    // A range's start replays its number of frames, however the clock's sums round.
    auto reached = [&](double frames) {
        if (replayFrames)
            return frames >= static_cast<double>(*replayFrames);
        return target < length ? player.getClock() >= target - halfStep
                               : player.getClock() > duration;
    };
    for (double frames = 0.0; !reached(frames) && (replayFrames || frames <= MOST_SEEK_FRAMES);
         ++frames) {
        player.noteReplayedSounds(replayFrames ? &replayedSounds : nullptr,
                                  static_cast<std::uint64_t>(frames));
        for (ISceneTimeline* timeline : providers.sceneTimelines)
            timeline->advanceScene(seconds);
        player.advance(seconds, menu.isCameraAuto(), restartsAtEnd());
    }
    // The viewer's part of this frame: the rest of the frame is the playback's own.
    for (ISceneTimeline* timeline : providers.sceneTimelines)
        timeline->advanceScene(seconds);
    player.noteReplayedSounds(nullptr, 0);
    player.setRate(playingRate);
    player.setReplaying(false);

    auto camera = userCameras.begin();
    for (ICameraControl* control : providers.cameraControls) {
        if (camera == userCameras.end())
            break;
        control->setCameraPosition(camera->first);
        control->setOrientation(camera->second);
        control->setWorldVelocity(STANDING);
        control->setLocalVelocity(STANDING);
        ++camera;
    }
    for (IGuiOverlay* overlay : providers.guiOverlays) {
        const bool complete = player.isComplete();
        setElementText(*overlay, names::STATUS_TEXT,
                       player.statusLine(complete                  ? "Complete"
                                         : player.getRate() > 0.0f ? "Playing"
                                                                   : "Paused"));
        setElementText(*overlay, names::STATUS_CAPTION,
                       complete ? std::string() : player.getStatusText());
        updateTimeBar(*overlay);
    }
}

void PlaybackTimeline::reloadScript() {
    if (!player.reload())
        return;
    DebugOutput::line("PlaybackController: " + player.getScript().path() + " changed; " +
                      std::to_string(player.getPendingKeyframes().size()) +
                      " keyframes reloaded at " + DebugOutput::number(player.getClock()) + " s");
    // Without a timeline, the keyframes before the clock are applied at once instead.
    if (seekAvailable())
        seekTarget = player.getClock();
}

} // namespace corvane
