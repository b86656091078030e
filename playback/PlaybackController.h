#pragma once

#include <cstdint>
#include <string>

#include "framework/IPlaybackDirector.h"
#include "framework/IPlaybackStaging.h"
#include "framework/IPlaybackStatus.h"
#include "framework/IPlaybackTimeline.h"
#include "framework/PluginInfo.h"
#include "playback/CameraKeyRecorder.h"
#include "playback/KeyframePlayer.h"
#include "playback/PlaybackMenu.h"
#include "playback/PlaybackProviders.h"
#include "playback/PlaybackTimeline.h"
#include "playback/StatusNote.h"

class TiXmlElement;

namespace corvane {

// The one object of the playback plug-in: serves IPlaybackDirector (at its start),
// IPlaybackStatus, IPlaybackTimeline and IPlaybackStaging, finds what it calls through the
// host (never releasing it), and runs each frame through its three parts: the keyframe
// player (clock and script), the menu (input, clicks, windows, status line) and the
// timeline (seeks, speed, steps, reloads, the time bar, the range).
class PlaybackController : public IPlaybackDirector,
                           public IPlaybackStatus,
                           public IPlaybackTimeline,
                           public IPlaybackStaging {
public:
    PlaybackController();
    ~PlaybackController() override;

    // Slots 0 to 2, shared by every interface: one counter, never freeing the object.
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

    // IPlaybackStaging, slots 3 to 11.
    std::uint32_t getScriptVersion() override;
    std::uint32_t getMarkerCount() override;
    bool getMarker(std::uint32_t index, float& seconds, std::uint32_t& kind,
                   std::string& label) override;
    void setInPoint() override;
    void setOutPoint() override;
    void clearRange() override;
    bool getRange(float& in, float& out) override;
    bool recordCameraKey() override;
    void requestExit() override;

    // The plug-in's entry points.
    PLUGIN_INFO pluginInfo() const;
    // Reads the "name" of the first "entity" child, the first "script" child, and the first
    // "start" child: <start playing="true"/> starts playback playing, menu closed, instead
    // of paused with the menu open; clock="SECONDS" (0 to 1) is the clock at the start, at a
    // reset and in a seek's replay instead of START_CLOCK; frames="N" starts with N frames
    // replayed in the first frame, as a seek replays them, the sounds still playing then
    // heard from where they are: a film's range that begins at frame N.
    void parseEnvironment(const TiXmlElement* environment);
    // Loads the keyframe script; true also when it is missing or unreadable. False, with one
    // line, when frames="N" asks for a start that no viewer's timeline can replay.
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
    void applyDueKeyframes() { player.applyDueKeyframes(menu.isCameraAuto()); }
    void applyKeyframe(const Keyframe& keyframe) {
        player.applyKeyframe(keyframe, menu.isCameraAuto());
    }
    void restart() { player.restart(); }

    float getClock() const { return player.getClock(); }
    float getRate() const { return player.getRate(); }
    float getDuration() const { return player.getDuration(); }
    float getInputCooldown() const { return menu.getInputCooldown(); }
    const std::string& getConfiguredEntity() const { return configuredEntity; }
    bool isMenuShown() const { return menu.isMenuShown(); }
    bool isAboutShown() const { return menu.isAboutShown(); }
    bool isOptionsShown() const { return menu.isOptionsShown(); }
    bool isConfirmExitShown() const { return menu.isConfirmExitShown(); }
    bool isCameraAuto() const { return menu.isCameraAuto(); }
    bool isLoopEnabled() const { return menu.isLoopEnabled(); }
    const KeyframeMap& getPendingKeyframes() const { return player.getPendingKeyframes(); }
    const KeyframeMap& getPlayedKeyframes() const { return player.getPlayedKeyframes(); }
    const ScriptSource& getScript() const { return player.getScript(); }

    // The script, read from the current directory at start.
    static const char* const KEYFRAME_FILE;
    // The entity name of keyframes that drive the camera.
    static const char* const CAMERA_ENTITY;
    static constexpr float INPUT_COOLDOWN = PlaybackMenu::INPUT_COOLDOWN;
    static constexpr float START_CLOCK = KeyframePlayer::START_CLOCK;
    static constexpr float FRAME_STEP = PlaybackTimeline::FRAME_STEP;
    static constexpr float SLOWEST = PlaybackTimeline::SLOWEST;
    static constexpr float FASTEST = PlaybackTimeline::FASTEST;
    static constexpr double MOST_SEEK_FRAMES = PlaybackTimeline::MOST_SEEK_FRAMES;

private:
    void bindOverlays();

    std::int32_t referenceCount = 0;
    std::string configuredEntity;
    PlaybackProviders providers;
    KeyframePlayer player{providers};
    PlaybackMenu menu{providers, player};
    StatusNote note{providers};
    PlaybackTimeline timeline{providers, player, menu, note};
    CameraKeyRecorder recorder;
    bool startsPlaying = false; // <start playing="true"/>
};

} // namespace corvane
