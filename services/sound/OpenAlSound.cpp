#include "services/sound/OpenAlSound.h"

#include <AL/al.h>
#include <cmath>
#include <sndfile.h>
#include <vector>

#include "framework/Identifiers.h"

namespace corvane {

bool OpenAlSound::load(const std::string& file, std::string& error) {
    SF_INFO info{};
    SNDFILE* sound = sf_open(file.c_str(), SFM_READ, &info);
    if (sound == nullptr) {
        error = std::string("cannot be read: ") + sf_strerror(nullptr);
        return false;
    }
    if (info.channels != 1 && info.channels != 2) {
        sf_close(sound);
        error = "has " + std::to_string(info.channels) + " channels; only mono and stereo play";
        return false;
    }
    std::vector<short> samples(static_cast<std::size_t>(info.frames) *
                               static_cast<std::size_t>(info.channels));
    const sf_count_t read = sf_readf_short(sound, samples.data(), info.frames);
    sf_close(sound);
    samples.resize(static_cast<std::size_t>(read) * static_cast<std::size_t>(info.channels));
    length = info.samplerate > 0 ? static_cast<double>(read) / info.samplerate : 0.0;

    alGetError();
    alGenBuffers(1, &buffer);
    alBufferData(buffer, info.channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16, samples.data(),
                 static_cast<ALsizei>(samples.size() * sizeof(short)), info.samplerate);
    alGenSources(1, &source);
    alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer));
    if (alGetError() != AL_NO_ERROR) {
        error = "cannot be handed to the audio output";
        return false;
    }
    return true;
}

OpenAlSound::~OpenAlSound() {
    if (source != 0)
        alDeleteSources(1, &source);
    if (buffer != 0)
        alDeleteBuffers(1, &buffer);
}

HRESULT OpenAlSound::QueryInterface(const UUID& iid, void** out) {
    if (iid == IID_ISoundSeek)
        *out = static_cast<ISoundSeek*>(this);
    else if (iid == IID_IUnknown)
        *out = static_cast<ISound*>(this);
    else
        return E_FAIL;
    AddRef();
    return S_OK;
}

std::int32_t OpenAlSound::AddRef() {
    return ++referenceCount;
}

std::int32_t OpenAlSound::Release() {
    return --referenceCount;
}

void OpenAlSound::play() {
    // Playing a playing source starts it again from its beginning.
    alSourcePlay(source);
}

void OpenAlSound::playFrom(double seconds) {
    alSourceStop(source);
    if (!(seconds >= 0.0 && seconds < length))
        return;
    if (deferred) {
        deferred(*this, seconds);
        return;
    }
    // A stopped source takes the offset from where the next play starts.
    ALint rate = 0;
    alGetBufferi(buffer, AL_FREQUENCY, &rate);
    alSourceRewind(source);
    alSourcei(source, AL_SAMPLE_OFFSET, static_cast<ALint>(std::lround(seconds * rate)));
    alSourcePlay(source);
}

void OpenAlSound::stop() {
    alSourceStop(source);
}

bool OpenAlSound::isPlaying() {
    ALint state = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
}

} // namespace corvane
