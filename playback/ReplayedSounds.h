#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "framework/ISoundBank.h"
#include "framework/ProviderList.h"
#include "playback/Keyframe.h"

namespace corvane {

// The sounds that a silent replay of the script would have played and not stopped, with
// the frame of the replay in which each began, so that a film's range that starts with a
// replay hears every sound still playing then from the point it has reached.
class ReplayedSounds {
public:
    // The keyframe's PLAYSOUND and STOPSOUND actions, in list order, in replayed frame
    // `frame` (counted from 0).
    void note(const Keyframe& keyframe, std::uint64_t frame);
    // Plays each sound noted on every bank that has it, from (`frames` - its frame) frames
    // of `seconds` after its beginning; a sound that is shorter than that plays no more.
    // Banks whose sounds cannot be played from a point (ISoundSeek) stay silent. Then
    // forgets them.
    void resume(const ProviderList<ISoundBank>& banks, std::uint64_t frames, double seconds);

private:
    std::map<std::string, std::uint64_t> playing;
};

} // namespace corvane
