#pragma once

#include <cstdint>
#include <string>

#include "framework/ISound.h"

namespace corvane {

// One sound of the bank: its samples in an OpenAL buffer, played by one source.
class OpenAlSound final : public ISound {
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

    // Length of the sound in seconds.
    double seconds() const { return length; }

private:
    unsigned int buffer = 0;
    unsigned int source = 0;
    double length = 0.0;
    std::int32_t referenceCount = 0;
};

} // namespace corvane
