#pragma once

#include <cstdint>
#include <set>
#include <string>

#include "playback/Keyframe.h"
#include "playback/PlaybackProviders.h"
#include "playback/ReplayedSounds.h"
#include "playback/ScriptSource.h"

namespace corvane {

// Plays the keyframe script: the playback clock and its rate, the keyframes still to come
// and those applied, and what a keyframe does to the scene's objects, the sounds, the
// camera and the status text when it falls due.
class KeyframePlayer {
public:
    explicit KeyframePlayer(PlaybackProviders& providers) : providers(providers) {}

    // Adds the keyframes of the script to the pending ones (without emptying anything
    // first) and takes the largest pending time as the duration.
    void load();
    // Replaces every keyframe with the script's as it is on disk now; false, keeping the
    // ones playing, when it does not load.
    bool reload();

    // Steps 8 to 12 of a frame: the time scale pushed, the camera held when it is the
    // user's, due keyframes applied, the clock advanced, the run restarted when `restarts`
    // (looping) and every keyframe has been applied.
    void advance(float seconds, bool cameraAuto, bool restarts);
    // Applies every keyframe whose time is below the clock, the latest first (of equal
    // times, the one placed last first), and moves each to the played ones.
    void applyDueKeyframes(bool cameraAuto);
    void applyKeyframe(const Keyframe& keyframe, bool cameraAuto);
    // Puts every played keyframe back among the pending ones; the caller sets the clock.
    void restart();
    // Sets the orientation the camera has (ending a turn a camera keyframe started) and
    // stops its motion, on every camera.
    void holdCamera();

    // "Simulation Status: <state>", with the speed when it is not 1.
    std::string statusLine(const char* state) const;

    float getClock() const { return clock; }
    void setClock(float seconds) { clock = seconds; }
    // 0 while paused, the speed while playing.
    float getRate() const { return rate; }
    void setRate(float factor) { rate = factor; }
    float getSpeed() const { return speed; }
    void setSpeed(float factor) { speed = factor; }
    float getDuration() const { return duration; }
    bool isComplete() const { return pendingKeyframes.empty(); }
    // Changes whenever the keyframes are loaded.
    std::uint32_t getVersion() const { return version; }
    const KeyframeMap& getPendingKeyframes() const { return pendingKeyframes; }
    const KeyframeMap& getPlayedKeyframes() const { return playedKeyframes; }
    ScriptSource& getScript() { return script; }
    const ScriptSource& getScript() const { return script; }

    // A seek replays the script: no sounds, no texts shown, only the last text kept.
    void setReplaying(bool silent) { replaying = silent; }
    // While replaying, notes the sound actions of the keyframes applied in `sounds` (null:
    // none), as those of the replay's frame `frame`.
    void noteReplayedSounds(ReplayedSounds* sounds, std::uint64_t frame) {
        replayedSounds = sounds;
        replayFrame = frame;
    }
    const std::string& getStatusText() const { return statusText; }
    void clearStatusText() { statusText.clear(); }

    // The entity name of keyframes that drive the camera.
    static const char* const CAMERA_ENTITY;
    // The clock at load and after "RESET_SIMULATION", unless another is set.
    static constexpr float START_CLOCK = 0.1f;
    // Where the clock starts, at load, at a reset and in a seek's replay: a film's frames of
    // script time N / fps want it half a frame in.
    void setStartClock(float seconds) { clock = startClock = seconds; }
    float getStartClock() const { return startClock; }

private:
    void performOnObject(ISceneAccess& scene, ISceneObject& object, const Keyframe& keyframe,
                         const KeyframeAction& action);
    void playSounds(const Keyframe& keyframe);
    // One line about the script's row; a line already written since the script was loaded
    // is not written again, so a looping script says each thing once.
    void reportOnce(int row, const std::string& what);

    PlaybackProviders& providers;
    ScriptSource script;
    float clock = START_CLOCK;
    float startClock = START_CLOCK;
    float rate = 0.0f;
    float speed = 1.0f; // the playing rate
    KeyframeMap pendingKeyframes;
    KeyframeMap playedKeyframes;
    float duration = 0.0f; // the largest keyframe time
    bool replaying = false;
    ReplayedSounds* replayedSounds = nullptr;
    std::uint64_t replayFrame = 0;
    std::string statusText; // the keyframes' status text, as performed last
    std::set<std::string> reportedLines;
    std::uint32_t version = 0;
};

} // namespace corvane
