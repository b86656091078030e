#pragma once

#include <cstddef>
#include <cstdint>

#include "framework/IUnknown.h"

namespace corvane {

// A sound bank's sounds mixed offline, frame by frame, for plug-ins that record a film's
// sound track: what the bank's sounds played in a frame is mixed in that frame, from the
// frame's first sample. Id {D256BF23-8F0C-41AD-8954-5096161BACD0}. Served only by a bank
// that mixes offline.
class ISoundTrack : public IUnknown {
public:
    // Slot 3: samples per second of the track.
    virtual std::uint32_t getSampleRate() = 0;
    // Slot 4: channels of the track, interleaved in each sample frame.
    virtual std::uint32_t getChannelCount() = 0;
    // Slot 5: moves up to `frames` sample frames, mixed and not yet taken, in order into
    // `samples` (32-bit floats, full scale 1); returns how many it moved. After the bank's
    // frame call for a frame, the samples up to the end of that frame are there.
    virtual std::size_t takeSamples(float* samples, std::size_t frames) = 0;

protected:
    ~ISoundTrack() = default;
};

} // namespace corvane
