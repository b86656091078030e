#pragma once

#include <cstdint>
#include <string>

#include "framework/IUnknown.h"

namespace corvane {

// What a person staging a scene asks of the playback beyond the timeline: the script's
// keyframes to mark on the time bar, a range of the script to repeat, a camera keyframe
// recorded into the script, and the exit asked for while playing. For the plug-in that
// reads the user's keys and draws the time bar.
// Id {ED304BC8-2F46-4F1E-A62A-13C613A5648B}.
class IPlaybackStaging : public IUnknown {
public:
    // What a keyframe does, for the colour of its mark: the camera, an entity of the
    // scene, only sounds (and texts), only texts.
    enum MarkerKind : std::uint32_t { CAMERA = 0, ENTITY = 1, SOUND = 2, TEXT = 3 };

    // Slot 3: a number that changes whenever the script is loaded, so that its marks are
    // fetched again only then.
    virtual std::uint32_t getScriptVersion() = 0;
    // Slot 4: the number of the script's keyframes.
    virtual std::uint32_t getMarkerCount() = 0;
    // Slot 5: the keyframe `index` of getMarkerCount(), in time order: its time, kind, and
    // a label of its time, entity and FILE:LINE. False, leaving all three untouched, for an
    // index past the end.
    virtual bool getMarker(std::uint32_t index, float& seconds, std::uint32_t& kind,
                           std::string& label) = 0;
    // Slot 6: the range begins at the playback's current time (an out point before it
    // trades places with it). While a range is set, playing loops within it with looping
    // on, and pauses at its end with looping off.
    virtual void setInPoint() = 0;
    // Slot 7: the range ends at the playback's current time (an in point after it trades
    // places with it).
    virtual void setOutPoint() = 0;
    // Slot 8: no range: the whole script plays.
    virtual void clearRange() = 0;
    // Slot 9: the range in seconds of script time; false, leaving both untouched, when no
    // range is set. A range with one point set runs from the script's start or to its end.
    virtual bool getRange(float& in, float& out) = 0;
    // Slot 10: with the camera free, writes a "CAMERA" keyframe of the camera's place and
    // turn at the current time into the script file that plays; the status line says what
    // was written, or why nothing was. False when nothing was written.
    virtual bool recordCameraKey() = 0;
    // Slot 11: the exit asked for while playing: pauses with the exit confirmation open, so
    // that the exit action given again ends playback. With the menu open it does nothing:
    // the exit action itself acts there.
    virtual void requestExit() = 0;

protected:
    ~IPlaybackStaging() = default;
};

} // namespace corvane
