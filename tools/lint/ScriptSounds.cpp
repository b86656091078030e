#include "tools/lint/ScriptSounds.h"

#include "framework/NameSuggestion.h"

namespace corvane::lint {

ScriptSounds::ScriptSounds(std::string definer, std::string folders)
    : definer(std::move(definer)), folders(std::move(folders)) {}

bool ScriptSounds::finds(const std::string& name) const {
    if (defined.count(name) != 0)
        return true;
    const auto [entry, first] = found.try_emplace(name, false);
    if (first)
        entry->second = !files.find(name).empty();
    return entry->second;
}

std::string ScriptSounds::notFound(const std::string& name) const {
    if (!known) {
        known = files.empty() ? std::set<std::string>() : files.names();
        known->insert(defined.begin(), defined.end());
    }
    const std::string suggestion = NameSuggestion::of(name, *known);
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
