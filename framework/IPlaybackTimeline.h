#pragma once

#include <cstdint>

#include "framework/IUnknown.h"

namespace corvane {

// The playback's timeline, for the plug-in that reads the user's keys and the time bar.
// Id {8CE04B9E-C5E9-4F2F-848B-C296DD73DD72}.
class IPlaybackTimeline : public IUnknown {
public:
    // Slot 3: the playback clock, seconds of script time.
    virtual float getTime() = 0;
    // Slot 4: the script's length: its largest keyframe time, seconds; 0 without keyframes.
    virtual float getLength() = 0;
    // Slot 5: in the playback's next frame, puts the whole scene into its state at
    // `seconds` (clamped to 0 .. the length) of a run from the start at the frames' step
    // and the current speed; silently, and playing or paused as before. The latest request
    // of a frame counts. False when the viewer offers no timeline (seeking is unavailable).
    virtual bool seekTo(float seconds) = 0;
    // Slot 6: the factor on the playback's time while playing; 1 normal. Factors from 1/16
    // to 16 are taken; any other gets one line and changes nothing.
    virtual void setSpeed(float factor) = 0;
    // Slot 7: the factor set last; 1 at start.
    virtual float getSpeed() = 0;
    // Slot 8: while paused, a seek by `frames` frames of 1/30 s, or of the playback's own
    // frames when those are longer (negative: back). False, doing nothing, while playing or
    // when seeking is unavailable.
    virtual bool stepFrames(std::int32_t frames) = 0;

protected:
    ~IPlaybackTimeline() = default;
};

} // namespace corvane
