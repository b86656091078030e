#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "framework/ISoundBank.h"
#include "framework/PluginInfo.h"
#include "services/sound/AudioOutput.h"
#include "services/sound/OpenAlSound.h"

class TiXmlElement;

namespace corvane {

// The sound plug-in's one object: a bank of named sounds played through OpenAL.
//
//   <environment>
//     <output mode="silent"/>                  optional; "device" (the default) plays on
//                                              the audio device when there is one
//     <sound name="door" file="sounds/door.wav"/>   files relative to the current folder
//   </environment>
class SoundService final : public ISoundBank {
public:
    HRESULT QueryInterface(const UUID& iid, void** out) override;
    std::int32_t AddRef() override;
    std::int32_t Release() override;
    ISound* findSound(const std::string& name) override;

    PLUGIN_INFO pluginInfo();
    void parseEnvironment(const TiXmlElement* environment);
    // Opens the output and reads every sound; a sound that cannot be read is one
    // diagnostic line and is not in the bank. Fails only when no output can be opened.
    bool start();
    // Lets the frame's time pass for the silent output.
    bool renderFrame(float seconds);
    void stop();

    bool isSilent() const { return output.isSilent(); }
    // The names of the sounds that the environment defines, in its order, whether or not
    // their files can be read: what a check of a script can know without opening audio.
    std::vector<std::string> soundNames() const;

private:
    // Declared first so that it outlives the sounds that play on it.
    AudioOutput output;
    std::map<std::string, std::unique_ptr<OpenAlSound>> sounds;
    std::vector<std::pair<std::string, std::string>> configured;
    bool silent = false;
    std::int32_t referenceCount = 0;
};

} // namespace corvane
