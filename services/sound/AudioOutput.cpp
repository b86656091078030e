#include "services/sound/AudioOutput.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <cmath>

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
        auto openLoopback = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(
            alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
        if (openLoopback == nullptr)
            return false;
        device = openLoopback(nullptr);
        if (device == nullptr)
            return false;
        const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT,
                                     ALC_STEREO_SOFT,
                                     ALC_FORMAT_TYPE_SOFT,
                                     ALC_SHORT_SOFT,
                                     ALC_FREQUENCY,
                                     LOOPBACK_FREQUENCY,
                                     0};
        context = alcCreateContext(device, attributes);
        loopback = true;
    }
    if (context == nullptr)
        return false;
    alcMakeContextCurrent(context);
    return true;
}

void AudioOutput::advance(float seconds) {
    if (!loopback || context == nullptr || !(seconds > 0.0f))
        return;
    auto render =
        reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(device, "alcRenderSamplesSOFT"));
    if (render == nullptr)
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

} // namespace corvane
