#pragma once

#include <cstdint>
#include <vector>

typedef struct ALCdevice_struct ALCdevice;
typedef struct ALCcontext_struct ALCcontext;

namespace corvane {

// Where the sounds go: the machine's audio device, or, when there is none or silence is
// asked for, OpenAL's loopback device, whose time follows the frames handed to advance().
class AudioOutput {
public:
    AudioOutput() = default;
    ~AudioOutput();
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    // Opens the audio device (unless `silent`), else the loopback device, and makes its
    // context current. False when neither can be opened.
    bool open(bool silent);
    bool isOpen() const { return context != nullptr; }
    bool isSilent() const { return loopback; }
    // Lets `seconds` of sound time pass on the loopback device; the device plays by itself.
    void advance(float seconds);

private:
    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    bool loopback = false;
    double pendingFrames = 0.0;
    std::vector<std::int16_t> scratch;
};

} // namespace corvane
