#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>

#include "framework/IActionInput.h"
#include "framework/ICameraControl.h"
#include "framework/IGuiOverlay.h"
#include "framework/IPlaybackDirector.h"
#include "framework/IPlaybackStatus.h"
#include "framework/IPlaybackTimeline.h"
#include "framework/ISceneAccess.h"
#include "framework/ISceneTimeline.h"
#include "framework/ISoundBank.h"
#include "framework/PluginInfo.h"
#include "framework/ProviderList.h"
#include "playback/Keyframe.h"
#include "playback/ReplayedSounds.h"
#include "playback/ScriptSource.h"

class TiXmlElement;

namespace corvane {

// The one object of the playback plug-in: runs the playback clock over the keyframe
// script, applies due keyframes to the viewer's scene and camera, and runs the escape
// menu, the about window, the exit confirmation, the time bar and the camera mode through
// the overlay and input services. Serves IPlaybackDirector (at its start), IPlaybackStatus
// and IPlaybackTimeline. Everything it calls is found through the host and never released.
//
// A seek replays the script from the start, frame by frame, through the same steps as a
// frame (the viewer's timeline stands in for the viewer's frames), silently. With the free
// camera a seek leaves the camera where the user put it.
class PlaybackController : public IPlaybackDirector,
                           public IPlaybackStatus,
                           public IPlaybackTimeline {
public:
    PlaybackController();
    ~PlaybackController() override;

    // Slots 0 to 2, shared by both interfaces: one counter, never freeing the object.
    HRESULT QueryInterface(const UUID& iid, void** out) override;
    std::int32_t AddRef() override;
    std::int32_t Release() override;

    // IPlaybackStatus, slot 3.
    bool isMenuOrAutoCamera() override;

    // IPlaybackTimeline, slots 3 to 8.
    float getTime() override;
    float getLength() override;
    bool seekTo(float seconds) override;
    void setSpeed(float factor) override;
    float getSpeed() override;
    bool stepFrames(std::int32_t frames) override;

    // The plug-in's entry points.
    PLUGIN_INFO pluginInfo() const;
    // Reads the "name" of the first "entity" child, the first "script" child, and the first
    // "start" child: <start playing="true"/> starts playback playing, menu closed, instead
    // of paused with the menu open; clock="SECONDS" (0 to 1) is the clock at the start and
    // after a reset instead of START_CLOCK, as a film's frames of script time N / fps need
    // half a frame; frames="N" starts with N frames replayed in the first frame, as a seek
    // replays them, the sounds still playing then heard from where they are: a film's range
    // that begins at frame N.
    void parseEnvironment(const TiXmlElement* environment);
    // Loads the keyframe script; true also when it is missing or unreadable.
    bool start();
    // One frame of `seconds` elapsed; false in the frame in which the user confirms the exit.
    bool renderFrame(float seconds);
    void stop();

    // Adds the keyframes of the script ("keyframes.xml" in the current directory unless the
    // environment names another) to the pending ones (without emptying anything first) and
    // takes the largest pending time as the duration.
    void loadKeyframes();
    // Asks the host for the providers of every id whose list is still empty.
    void bindProviders();
    // Applies every keyframe whose time is below the clock, the latest first (of equal
    // times, the one placed last first), and moves each to the played ones.
    void applyDueKeyframes();
    void applyKeyframe(const Keyframe& keyframe);
    // Puts every played keyframe back among the pending ones; the caller sets the clock.
    void restart();

    float getClock() const { return clock; }
    float getRate() const { return rate; }
    float getDuration() const { return duration; }
    float getInputCooldown() const { return inputCooldown; }
    const std::string& getConfiguredEntity() const { return configuredEntity; }
    bool isMenuShown() const { return menuShown; }
    bool isAboutShown() const { return aboutShown; }
    bool isOptionsShown() const { return optionsShown; }
    bool isConfirmExitShown() const { return confirmExitShown; }
    bool isCameraAuto() const { return cameraAuto; }
    bool isLoopEnabled() const { return loopEnabled; }
    const KeyframeMap& getPendingKeyframes() const { return pendingKeyframes; }
    const KeyframeMap& getPlayedKeyframes() const { return playedKeyframes; }
    const ScriptSource& getScript() const { return script; }

    // The script, read from the current directory at start.
    static const char* const KEYFRAME_FILE;
    // The entity name of keyframes that drive the camera.
    static const char* const CAMERA_ENTITY;
    // Seconds during which further gated input actions are ignored once one is accepted.
    static constexpr float INPUT_COOLDOWN = 0.5f;
    // The clock at load and after "RESET_SIMULATION".
    static constexpr float START_CLOCK = 0.1f;
    // Seconds of one single step.
    static constexpr float FRAME_STEP = 1.0f / 30.0f;
    // The speeds taken: beyond them a frame would skip most of what the script does, or a
    // seek replay a great many frames.
    static constexpr float SLOWEST = 1.0f / 16.0f;
    static constexpr float FASTEST = 16.0f;
    // The most frames one seek replays.
    static constexpr double MOST_SEEK_FRAMES = 1.0e6;

private:
    // The six flags as changed by one frame's input and clicks, and the frame's result.
    // Inputs and clicks test the committed fields and write here, so two toggles of one flag
    // in a frame act as one.
    struct WorkingCopies {
        bool menuShown;
        bool aboutShown;
        bool optionsShown;
        bool confirmExitShown;
        bool cameraAuto;
        bool loopEnabled;
        bool keepRunning;
    };

    void readInputActions(WorkingCopies& working);
    void pollClicks(WorkingCopies& working, float seconds);
    void showTransitions(WorkingCopies& working);
    void showTransitions(IGuiOverlay& overlay, const WorkingCopies& working, bool menuOpens,
                         bool menuCloses);
    void updateTimeBar(IGuiOverlay& overlay);
    // "Simulation Status: <state>", with the speed when it is not 1.
    std::string statusLine(const char* state) const;
    // Steps 8 to 12 of a frame: the time scale pushed, the camera held, due keyframes
    // applied, the clock advanced, the run restarted when looping.
    void advancePlayback(float seconds);
    // Binds the viewer's timeline on first need; false when no viewer offers one.
    bool seekAvailable();
    // The requested seek, replayed at frames of `seconds`.
    void seek(float target, float seconds);
    // Loads the script again after it changed; keeps the one playing when it does not load.
    void reloadScript();
    void holdCamera();
    void performOnObject(ISceneAccess& scene, ISceneObject& object, const Keyframe& keyframe,
                         const KeyframeAction& action);
    bool cooldownFree() const { return inputCooldown == 0.0f; }
    // One line about the script's row; a line already written since the script was loaded
    // is not written again, so a looping script says each thing once.
    void reportOnce(int row, const std::string& what);

    std::int32_t referenceCount = 0;
    float clock = START_CLOCK;
    float rate = 0.0f; // 0 while paused, 1 while playing
    std::string configuredEntity;
    bool menuShown = true;
    bool aboutShown = false;
    bool optionsShown = false;
    bool confirmExitShown = false;
    float inputCooldown = 0.0f;
    bool cameraAuto = true;
    bool loopEnabled = false;
    ProviderList<IActionInput> actionInputs;
    ProviderList<ICameraControl> cameraControls;
    ProviderList<ISceneAccess> sceneAccesses;
    ProviderList<IGuiOverlay> guiOverlays;
    ProviderList<ISoundBank> soundBanks;
    KeyframeMap pendingKeyframes;
    KeyframeMap playedKeyframes;
    float duration = 0.0f; // the largest keyframe time
    ScriptSource script;
    ProviderList<ISceneTimeline> sceneTimelines;
    float speed = 1.0f;              // the playing rate
    std::optional<float> seekTarget; // asked for since the last frame
    float lastSeconds = 0.0f;        // the step of the last frame
    bool replaying = false;          // a seek is replaying the script: no sounds, no texts
    std::string statusText;          // the keyframes' status text, as performed last
    std::set<std::string> reportedLines;
    bool startsPlaying = false;                // <start playing="true"/>
    float startClock = START_CLOCK;            // <start clock="SECONDS"/>
    bool resumePending = false;                // ... and the first frame has not yet resumed
    std::uint64_t startFrames = 0;             // <start frames="N"/>, replayed in the first frame
    std::optional<std::uint64_t> replayFrames; // while those are replayed
    std::uint64_t replayFrame = 0;             // the frame of the replay under way
    ReplayedSounds replayedSounds;
};

} // namespace corvane
