#include "services/sound/AudioOutput.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <cmath>
#include <type_traits>

namespace corvane {

namespace {

constexpr ALCint LOOPBACK_FREQUENCY = 22050;

} // namespace

AudioOutput::~AudioOutput() {
    if (context != nullptr) {
        if (alcGetCurrentContext() == context)
            alcMakeContextCurrent(nullptr);
        alcDestroyContext(context);
    }
    if (device != nullptr)
        alcCloseDevice(device);
}

bool AudioOutput::open(bool silent) {
    if (!silent) {
        device = alcOpenDevice(nullptr);
        if (device != nullptr)
            context = alcCreateContext(device, nullptr);
    }
    if (context == nullptr) {
        if (device != nullptr)
            alcCloseDevice(device);
        device = nullptr;
        const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT,
                                     ALC_STEREO_SOFT,
                                     ALC_FORMAT_TYPE_SOFT,
                                     ALC_SHORT_SOFT,
                                     ALC_FREQUENCY,
                                     LOOPBACK_FREQUENCY,
                                     0};
        return openLoopback(attributes);
    }
    alcMakeContextCurrent(context);
    return true;
}

bool AudioOutput::openMixer(int rate) {
    const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT,
                                 ALC_STEREO_SOFT,
                                 ALC_FORMAT_TYPE_SOFT,
                                 ALC_FLOAT_SOFT,
                                 ALC_FREQUENCY,
                                 rate,
                                 0};
    mixer = openLoopback(attributes);
    return mixer;
}

bool AudioOutput::openLoopback(const int* attributes) {
    auto openDevice = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(
        alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    if (openDevice == nullptr)
        return false;
    device = openDevice(nullptr);
    if (device == nullptr)
        return false;
    context = alcCreateContext(device, attributes);
    loopback = true;
    if (context == nullptr)
        return false;
    static_assert(std::is_same_v<RenderSamples, LPALCRENDERSAMPLESSOFT>);
    render = reinterpret_cast<RenderSamples>(alcGetProcAddress(device, "alcRenderSamplesSOFT"));
    alcMakeContextCurrent(context);
    return true;
}

void AudioOutput::advance(float seconds) {
    if (mixer || render == nullptr || !(seconds > 0.0f))
        return;
    // Whole sample frames only; the remainder is carried into the next frame.
    pendingFrames += static_cast<double>(seconds) * LOOPBACK_FREQUENCY;
    const double whole = std::floor(pendingFrames);
    pendingFrames -= whole;
    ALCsizei frames = static_cast<ALCsizei>(whole);
    constexpr ALCsizei CHUNK = 4096;
    scratch.resize(2 * CHUNK);
    while (frames > 0) {
        const ALCsizei now = frames < CHUNK ? frames : CHUNK;
        render(device, scratch.data(), now);
        frames -= now;
    }
}

void AudioOutput::mix(float* samples, std::size_t frames) {
    if (!mixer || render == nullptr) {
        for (std::size_t i = 0; i < 2 * frames; ++i)
            samples[i] = 0.0f;
        return;
    }
    constexpr std::size_t CHUNK = 4096;
    while (frames > 0) {
        const std::size_t now = frames < CHUNK ? frames : CHUNK;
        render(device, samples, static_cast<ALCsizei>(now));
        samples += 2 * now;
        frames -= now;
    }
}

} // namespace corvane
