#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "framework/ISound.h"
#include "framework/ISoundSeek.h"

namespace corvane {

// One sound of the bank: its samples in an OpenAL buffer, played by one source. Serves
// ISoundSeek beside ISound, one counter for both.
class OpenAlSound final : public ISound, public ISoundSeek {
public:
    // Reads the sound file (any format libsndfile reads, mono or stereo); false and `error`
    // set to a phrase that follows the file name ("cannot be read: ...") when it fails.
    bool load(const std::string& file, std::string& error);
    ~OpenAlSound();

    HRESULT QueryInterface(const UUID& iid, void** out) override;
    std::int32_t AddRef() override;
    std::int32_t Release() override;
    void play() override;
    void stop() override;
    bool isPlaying() override;
    void playFrom(double seconds) override;

    // Length of the sound in seconds.
    double seconds() const { return length; }
    // Hands playFrom() to `starter` instead of playing from the point at once: an offline
    // mixer starts the sound where it began and mixes up to the point, as a run from the
    // start would have.
    void deferStarts(std::function<void(OpenAlSound&, double)> starter) {
        deferred = std::move(starter);
    }

private:
    unsigned int buffer = 0;
    unsigned int source = 0;
    double length = 0.0;
    std::function<void(OpenAlSound&, double)> deferred;
    std::int32_t referenceCount = 0;
};

} // namespace corvane
