#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "framework/ISoundBank.h"
#include "framework/ISoundTrack.h"
#include "framework/PluginInfo.h"
#include "services/sound/AudioOutput.h"
#include "services/sound/OpenAlSound.h"
#include "services/sound/SoundFiles.h"

class TiXmlElement;

namespace corvane {

// The sound plug-in's one object: a bank of named sounds played through OpenAL.
//
//   <environment>
//     <output mode="silent"/>                  optional; "device" (the default) plays on
//                                              the audio device when there is one;
//                                              "offline" mixes a film's sound track, frames
//                                              of exactly 1/fps s: <output mode="offline"
//                                              fps="30"/>; first="N": the first frame is
//                                              the film's frame N (a range's)
//     <sound name="door" file="sounds/door.wav"/>   files relative to the current folder
//     <folder src="project"/>                  a sound no "sound" element names is the file
//                                              of its name in this folder or one below it
//                                              (SoundFiles), read when first asked for
//   </environment>
//
// Mixing offline, it also serves ISoundTrack: each frame call mixes the frame's samples,
// with the sounds played since the last one starting at the frame's first sample. A sound
// played from a point (ISoundSeek, as a film's range that begins in its middle asks) is
// started in the frame where it began and mixed up to this one, the samples before dropped,
// so that it goes on as in a run from the start, without a fade-in of its own.
class SoundService final : public ISoundBank, public ISoundTrack {
public:
    HRESULT QueryInterface(const UUID& iid, void** out) override;
    std::int32_t AddRef() override;
    std::int32_t Release() override;
    ISound* findSound(const std::string& name) override;

    // ISoundTrack, offline only.
    std::uint32_t getSampleRate() override;
    std::uint32_t getChannelCount() override;
    std::size_t takeSamples(float* samples, std::size_t frames) override;

    PLUGIN_INFO pluginInfo();
    void parseEnvironment(const TiXmlElement* environment);
    // Opens the output and reads every sound; a sound that cannot be read is one
    // diagnostic line and is not in the bank. Fails only when no output can be opened.
    bool start();
    // Lets the frame's time pass for the silent output; mixes the frame offline.
    bool renderFrame(float seconds);
    void stop();

    bool isSilent() const { return output.isSilent(); }
    // The names of the sounds that the environment defines, in its order, whether or not
    // their files can be read: what a check of a script can know without opening audio.
    std::vector<std::string> soundNames() const;
    // The folders that the environment names, as it names them: where a sound that no
    // "sound" element names is looked for.
    const std::vector<std::string>& soundFolders() const { return folderNames; }

    // Samples per second of the offline mix.
    static constexpr std::uint32_t OFFLINE_RATE = 48000;

private:
    // Reads a sound file into the bank under `name`; null, with one line naming the
    // `operation`, when it cannot.
    OpenAlSound* load(const char* operation, const std::string& name, const std::string& file);
    // Mixes the film's frame `frame` offline onto the end of `samples`.
    void mixFrame(std::uint64_t frame, std::vector<float>& samples);
    void mixLateStarts();

    // Declared first so that it outlives the sounds that play on it.
    AudioOutput output;
    std::map<std::string, std::unique_ptr<OpenAlSound>> sounds;
    std::vector<std::pair<std::string, std::string>> configured;
    SoundFiles files;
    std::vector<std::string> folderNames;
    // Names looked for among the files and not found there, or not readable: asked only once.
    std::set<std::string> missing;
    bool silent = false;
    bool offline = false;
    std::uint32_t framesPerSecond = 30;
    std::uint64_t framesMixed = 0;
    // Sounds to be heard from a point at the next frame: each started that many frames
    // before it and mixed up to it (ISoundSeek, offline).
    std::vector<std::pair<OpenAlSound*, std::uint64_t>> lateStarts;
    // Mixed, not yet taken; `takenUpTo` of them are taken.
    std::vector<float> mixed;
    std::size_t takenUpTo = 0;
    std::int32_t referenceCount = 0;
};

} // namespace corvane
