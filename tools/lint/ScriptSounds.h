#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>

#include "services/sound/SoundFiles.h"

namespace corvane::lint {

// The sounds that a script's PLAYSOUND and STOPSOUND can name, found as the run that a
// check stands for finds them: by the names a Sound plug-in's environment defines, then
// by a file of the name in its folders, with the plug-in's own lookup (SoundFiles).
class ScriptSounds {
public:
    // `definer` is what defines the names, for messages: "the Sound plug-in of the
    // configuration", "sounds.xml", or empty when nothing does; `folders` says which
    // folders are searched: "its folders", "the scene's and media folders".
    ScriptSounds(std::string definer, std::string folders);

    void define(const std::string& name) { defined.insert(name); }
    // Searches `folder` and every folder below it, as the Sound plug-in does.
    void addFolder(const std::string& folder) { files.addFolder(folder); }

    // Whether a run finds a sound of the name. The names and folders are all given before
    // the first question.
    bool finds(const std::string& name) const;
    // What a check says of a name that a run does not find, with a known name near it:
    //   there is no sound "dor": the scene's and media folders hold no dor.wav, dor.ogg or
    //   dor.flac (did you mean "door"?)
    std::string notFound(const std::string& name) const;

private:
    std::string definer;
    std::string folders;
    std::set<std::string> defined;
    SoundFiles files;
    // A script names its few sounds in many keyframes: each name is looked for once, and
    // the folders are listed once, for the first name that is not found.
    mutable std::map<std::string, bool> found;
    mutable std::optional<std::set<std::string>> known;
};

} // namespace corvane::lint
