#include "services/sound/SoundService.h"

#include <algorithm>
#include <cmath>
#include <tinyxml.h>

#include "framework/Identifiers.h"
#include "platform/DebugOutput.h"

namespace corvane {

namespace {

constexpr std::uint32_t OFFLINE_CHANNELS = 2;

} // namespace

HRESULT SoundService::QueryInterface(const UUID& iid, void** out) {
    if (iid == IID_ISoundBank || iid == IID_IUnknown)
        *out = static_cast<ISoundBank*>(this);
    else if (iid == IID_ISoundTrack && offline)
        *out = static_cast<ISoundTrack*>(this);
    else
        return E_FAIL;
    AddRef();
    return S_OK;
}

std::int32_t SoundService::AddRef() {
    return ++referenceCount;
}

std::int32_t SoundService::Release() {
    return --referenceCount;
}

ISound* SoundService::findSound(const std::string& name) {
    const auto sound = sounds.find(name);
    if (sound != sounds.end())
        return sound->second.get();
    if (files.empty() || !output.isOpen() || missing.count(name) > 0)
        return nullptr;
    const std::string file = files.find(name);
    OpenAlSound* found = file.empty() ? nullptr : load("findSound", name, file);
    if (found == nullptr)
        missing.insert(name);
    return found;
}

std::uint32_t SoundService::getSampleRate() {
    return OFFLINE_RATE;
}

std::uint32_t SoundService::getChannelCount() {
    return OFFLINE_CHANNELS;
}

std::size_t SoundService::takeSamples(float* samples, std::size_t frames) {
    const std::size_t available = (mixed.size() - takenUpTo) / OFFLINE_CHANNELS;
    const std::size_t count = std::min(frames, available);
    std::copy_n(mixed.begin() + static_cast<std::ptrdiff_t>(takenUpTo), count * OFFLINE_CHANNELS,
                samples);
    takenUpTo += count * OFFLINE_CHANNELS;
    if (takenUpTo == mixed.size()) {
        mixed.clear();
        takenUpTo = 0;
    }
    return count;
}

PLUGIN_INFO SoundService::pluginInfo() {
    return {PLUGIN_ID_SOUND, {KIND_ID_SOUND}, {}, static_cast<ISoundBank*>(this)};
}

void SoundService::parseEnvironment(const TiXmlElement* environment) {
    if (environment == nullptr)
        return;
    if (const TiXmlElement* mode = environment->FirstChildElement("output")) {
        const char* text = mode->Attribute("mode");
        const std::string value = text != nullptr ? text : "";
        silent = value == "silent";
        offline = value == "offline";
        if (offline) {
            int fps = 0;
            if (mode->QueryIntAttribute("fps", &fps) == TIXML_SUCCESS && fps > 0)
                framesPerSecond = static_cast<std::uint32_t>(fps);
            else if (mode->Attribute("fps") != nullptr)
                DebugOutput::line("SoundService::parseEnvironment(): \"output\" (row " +
                                  std::to_string(mode->Row()) + ") has fps=\"" +
                                  mode->Attribute("fps") + "\", not a whole number above 0; " +
                                  "frames are 1/" + std::to_string(framesPerSecond) + " s");
            // A film's range that starts later mixes from its first frame's samples on.
            double first = 0.0;
            if (mode->QueryDoubleAttribute("first", &first) == TIXML_SUCCESS && first >= 0.0 &&
                first < 1e12)
                framesMixed = static_cast<std::uint64_t>(first);
        }
    }
    for (const TiXmlElement* sound = environment->FirstChildElement("sound"); sound != nullptr;
         sound = sound->NextSiblingElement("sound")) {
        const char* name = sound->Attribute("name");
        const char* file = sound->Attribute("file");
        if (name == nullptr || *name == '\0' || file == nullptr || *file == '\0') {
            DebugOutput::line("SoundService::parseEnvironment(): a \"sound\" element (row " +
                              std::to_string(sound->Row()) +
                              ") needs a \"name\" and a \"file\"; it is skipped");
            continue;
        }
        configured.emplace_back(name, file);
    }
    for (const TiXmlElement* folder = environment->FirstChildElement("folder"); folder != nullptr;
         folder = folder->NextSiblingElement("folder")) {
        const char* source = folder->Attribute("src");
        if (source == nullptr || *source == '\0') {
            DebugOutput::line("SoundService::parseEnvironment(): a \"folder\" element (row " +
                              std::to_string(folder->Row()) + ") needs a \"src\"; it is skipped");
            continue;
        }
        folderNames.emplace_back(source);
    }
}

bool SoundService::start() {
    if (offline ? !output.openMixer(static_cast<int>(OFFLINE_RATE)) : !output.open(silent)) {
        DebugOutput::line("SoundService::start(): no audio output can be opened");
        return false;
    }
    if (output.isSilent() && !silent && !offline)
        DebugOutput::line("SoundService::start(): no audio device; sounds play silently");
    for (const auto& [name, file] : configured)
        load("start", name, file);
    // Listed once, at the start: the folders below are not listed again during the run.
    for (const std::string& folder : folderNames)
        files.addFolder(folder);
    return true;
}

OpenAlSound* SoundService::load(const char* operation, const std::string& name,
                                const std::string& file) {
    auto sound = std::make_unique<OpenAlSound>();
    std::string error;
    if (!sound->load(file, error)) {
        DebugOutput::line(std::string("SoundService::") + operation + "(): sound \"" + name +
                          "\": " + file + " " + error);
        return nullptr;
    }
    OpenAlSound* loaded = sound.get();
    if (offline)
        loaded->deferStarts([this](OpenAlSound& late, double seconds) {
            lateStarts.emplace_back(&late, static_cast<std::uint64_t>(std::llround(
                                               seconds * static_cast<double>(framesPerSecond))));
        });
    sounds[name] = std::move(sound);
    return loaded;
}

bool SoundService::renderFrame(float seconds) {
    if (!offline) {
        output.advance(seconds);
        return true;
    }
    mixLateStarts();
    mixFrame(framesMixed++, mixed);
    return true;
}

void SoundService::mixFrame(std::uint64_t frame, std::vector<float>& samples) {
    // Whole sample frames from the frame count, so that no rounding adds up over a film.
    const std::uint64_t from = frame * OFFLINE_RATE / framesPerSecond;
    const std::uint64_t to = (frame + 1) * OFFLINE_RATE / framesPerSecond;
    const std::size_t before = samples.size();
    samples.resize(before + static_cast<std::size_t>(to - from) * OFFLINE_CHANNELS);
    output.mix(samples.data() + before, static_cast<std::size_t>(to - from));
}

void SoundService::mixLateStarts() {
    std::uint64_t earliest = 0;
    for (const auto& [sound, frames] : lateStarts)
        earliest = std::max(earliest, std::min(frames, framesMixed));
    // The frames since the earliest began, mixed as they were and dropped: the same samples
    // per frame, each sound starting at the first of its own.
    std::vector<float> dropped;
    for (std::uint64_t back = earliest; back > 0; --back) {
        for (const auto& [sound, frames] : lateStarts)
            if (std::min(frames, framesMixed) == back)
                sound->play();
        dropped.clear();
        mixFrame(framesMixed - back, dropped);
    }
    for (const auto& [sound, frames] : lateStarts)
        if (frames == 0)
            sound->play();
    lateStarts.clear();
}

void SoundService::stop() {}

std::vector<std::string> SoundService::soundNames() const {
    std::vector<std::string> names;
    for (const auto& [name, file] : configured)
        names.push_back(name);
    return names;
}

} // namespace corvane
