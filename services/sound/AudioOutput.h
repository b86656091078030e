#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

typedef struct ALCdevice_struct ALCdevice;
typedef struct ALCcontext_struct ALCcontext;

namespace corvane {

// Where the sounds go: the machine's audio device, or OpenAL's loopback device, whose time
// follows the frames: when there is no device or silence is asked for, it is rendered and
// dropped; as an offline mixer, its samples are the film's sound track.
class AudioOutput {
public:
    AudioOutput() = default;
    ~AudioOutput();
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    // Opens the audio device (unless `silent`), else the loopback device, and makes its
    // context current. False when neither can be opened.
    bool open(bool silent);
    // Opens the loopback device as an offline mixer of `rate` stereo sample frames a second
    // in 32-bit floats, and makes its context current. False when it cannot be opened.
    bool openMixer(int rate);
    bool isOpen() const { return context != nullptr; }
    bool isSilent() const { return loopback; }
    // Lets `seconds` of sound time pass on the silent loopback device; the device plays by
    // itself, and the mixer only by mix().
    void advance(float seconds);
    // Mixes the next `frames` stereo sample frames of the mixer into `samples`.
    void mix(float* samples, std::size_t frames);

private:
    bool openLoopback(const int* attributes);

    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    bool loopback = false;
    // The loopback device's renderer, looked up once: every frame renders.
    using RenderSamples = void (*)(ALCdevice*, void*, int);
    RenderSamples render = nullptr;
    bool mixer = false;
    double pendingFrames = 0.0;
    std::vector<std::int16_t> scratch;
};

} // namespace corvane
