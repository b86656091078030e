#include "services/sound/SoundService.h"

#include <tinyxml.h>

#include "framework/Identifiers.h"
#include "platform/DebugOutput.h"

namespace corvane {

HRESULT SoundService::QueryInterface(const UUID& iid, void** out) {
    if (iid != IID_ISoundBank && iid != IID_IUnknown)
        return E_FAIL;
    *out = static_cast<ISoundBank*>(this);
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
    return sound != sounds.end() ? sound->second.get() : nullptr;
}

PLUGIN_INFO SoundService::pluginInfo() {
    return {PLUGIN_ID_SOUND, {KIND_ID_SOUND}, {}, static_cast<ISoundBank*>(this)};
}

void SoundService::parseEnvironment(const TiXmlElement* environment) {
    if (environment == nullptr)
        return;
    if (const TiXmlElement* mode = environment->FirstChildElement("output")) {
        const char* text = mode->Attribute("mode");
        silent = text != nullptr && std::string(text) == "silent";
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
}

bool SoundService::start() {
    if (!output.open(silent)) {
        DebugOutput::line("SoundService::start(): no audio output can be opened");
        return false;
    }
    if (output.isSilent() && !silent)
        DebugOutput::line("SoundService::start(): no audio device; sounds play silently");
    for (const auto& [name, file] : configured) {
        auto sound = std::make_unique<OpenAlSound>();
        std::string error;
        if (!sound->load(file, error)) {
            DebugOutput::line("SoundService::start(): sound \"" + name + "\": " + file + " " +
                              error);
            continue;
        }
        sounds[name] = std::move(sound);
    }
    return true;
}

bool SoundService::renderFrame(float seconds) {
    output.advance(seconds);
    return true;
}

void SoundService::stop() {}

std::vector<std::string> SoundService::soundNames() const {
    std::vector<std::string> names;
    for (const auto& [name, file] : configured)
        names.push_back(name);
    return names;
}

} // namespace corvane
