#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "framework/IGuiOverlay.h"
#include "playback/KeyframePlayer.h"
#include "playback/PlaybackMenu.h"
#include "playback/PlaybackProviders.h"
#include "playback/ReplayedSounds.h"
#include "playback/StatusNote.h"

namespace corvane {

// The script as a timeline: seeks, speed and single steps, the script loaded again when it
// changes, the time bar, and the range that plays: with looping on, playing goes back to
// its in point at its out point; with looping off, it pauses there.
//
// A seek replays the script from the start, frame by frame, through the same steps as a
// frame (the viewer's timeline stands in for the viewer's frames), silently. With the free
// camera a seek leaves the camera where the user put it.
class PlaybackTimeline {
public:
    PlaybackTimeline(PlaybackProviders& providers, KeyframePlayer& player, PlaybackMenu& menu,
                     StatusNote& note)
        : providers(providers), player(player), menu(menu), note(note) {}

    // The script's length: its largest keyframe time, 0 without keyframes.
    float getLength() const;
    // Asks for a seek in the next frame; false when the viewer offers no timeline.
    bool seekTo(float seconds);
    void setSpeed(float factor);
    bool stepFrames(std::int32_t frames);

    // The frame's part before the keyframes: the script loaded again when its file has
    // changed, and the seek asked for, replayed at frames of `seconds`.
    void beforeAdvance(float seconds);
    // The first frame replays `frames` frames, as a seek does, and the sounds still playing
    // then are heard from where they are: a film's range that begins at that frame.
    void startAtFrame(std::uint64_t frames) { startFrames = frames; }
    // False, with one line, when that start needs the viewer's timeline and there is none:
    // frames played from the script's beginning would pass for the range's.
    bool canStart();
    // Whether playing restarts once every keyframe has been applied: with looping on, and
    // no range that loops by itself.
    bool restartsAtEnd() const { return menu.isLoopEnabled() && !playsRange(); }
    // The frame's part after the keyframes: at the range's out point, back to its in point
    // or a pause.
    void afterAdvance();
    // Playing resumes at or past the out point: it goes back to the in point first.
    void resumed();

    // The in or out point at the playback's time (or the seek asked for); an in point after
    // the out point, or an out point before the in point, trades places with it.
    void setInPoint();
    void setOutPoint();
    void clearRange();
    bool hasRange() const { return inPoint.has_value() || outPoint.has_value(); }
    // A range of a frame or more, which playing keeps to (a script shortened by a reload
    // can leave less).
    bool playsRange() const { return hasRange() && rangeOut() - rangeIn() >= FRAME_STEP; }
    // From the start or to the end of the script where a point is not set.
    float rangeIn() const { return inPoint.value_or(0.0f); }
    float rangeOut() const { return outPoint.value_or(getLength()); }
    // The share of the run played, on one overlay's time bar.
    void updateTimeBar(IGuiOverlay& overlay);

    // The script's keyframes in time order, for the marks on the time bar: their number,
    // and one's time, kind (IPlaybackStaging::MarkerKind) and label "TIME  ENTITY  FILE:LINE".
    std::uint32_t markerCount();
    bool marker(std::uint32_t index, float& seconds, std::uint32_t& kind, std::string& label);
    // Loads the script again after it changed; keeps the one playing when it does not load.
    void reloadScript();

    // Seconds as the notes and marks write them: "2.50 s".
    static std::string clockText(float seconds);

    // Seconds of one single step.
    static constexpr float FRAME_STEP = 1.0f / 30.0f;
    // The speeds taken: beyond them a frame would skip most of what the script does, or a
    // seek replay a great many frames.
    static constexpr float SLOWEST = 1.0f / 16.0f;
    static constexpr float FASTEST = 16.0f;
    // The most frames one seek replays.
    static constexpr double MOST_SEEK_FRAMES = 1.0e6;

private:
    // Binds the viewer's timeline on first need; false when no viewer offers one.
    bool seekAvailable();
    // `replayFrames`: a range's start, which replays that many frames and notes their sounds.
    void seek(float target, float seconds, std::optional<std::uint64_t> replayFrames = {});
    // Sets one point of the range at the current time; `in` for the in point.
    void setPoint(bool in);
    float currentTime() const { return seekTarget.value_or(player.getClock()); }

    PlaybackProviders& providers;
    KeyframePlayer& player;
    PlaybackMenu& menu;
    StatusNote& note;
    std::optional<float> inPoint;
    std::optional<float> outPoint;
    std::optional<float> seekTarget; // asked for since the last frame
    std::uint64_t startFrames = 0;   // replayed in the first frame
    ReplayedSounds replayedSounds;
    // The keyframes by time, made again when the player's keyframes are loaded.
    std::vector<std::pair<float, const Keyframe*>> markers;
    std::uint32_t markersVersion = 0;
    float lastSeconds = 0.0f; // the step of the last frame
};

} // namespace corvane
