#include "tools/lint/ScriptSounds.h"

#include "framework/NameSuggestion.h"

namespace corvane::lint {

ScriptSounds::ScriptSounds(std::string definer, std::string folders)
    : definer(std::move(definer)), folders(std::move(folders)) {}

bool ScriptSounds::finds(const std::string& name) const {
    return defined.count(name) != 0 || !files.find(name).empty();
}

std::string ScriptSounds::notFound(const std::string& name) const {
    std::set<std::string> known = files.empty() ? std::set<std::string>() : files.names();
    known.insert(defined.begin(), defined.end());
    const std::string suggestion = NameSuggestion::of(name, known);
    const std::string quoted = "\"" + name + "\"";
    if (files.empty())
        return definer + " defines no sound " + quoted + suggestion;
    std::string endings;
    for (const char* const* ending = SoundFiles::ENDINGS; *ending != nullptr; ++ending)
        endings += (endings.empty() ? "" : ending[1] == nullptr ? " or " : ", ") + name + *ending;
    return "there is no sound " + quoted + ": " +
           (definer.empty() ? "" : definer + " defines none, and ") + folders + " hold no " +
           endings + suggestion;
}

} // namespace corvane::lint
