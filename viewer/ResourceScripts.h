#pragma once

#include <OgreLog.h>
#include <OgreResourceGroupManager.h>
#include <string>
#include <vector>

#include "platform/DiagnosticSink.h"
#include "viewer/ScriptDefinitions.h"

namespace corvane {

// Parses the scripts (materials, fonts, particle systems, overlays, ...) of one resource
// group in place of the engine, in the engine's order: by the loading order of the script
// loaders, within a loader by its patterns, within a pattern by location. The engine would
// parse them all in one loop and stop at the first script that throws, and every later
// script of the group, the fonts and overlays of the user interface among them, would then
// never exist. Here each script is parsed in its own try (and each of its definitions,
// ScriptDefinitions); a failure costs only what it names, with one diagnostic line that
// names the file. The core locations go first among the scripts of each pattern, so that
// their names win: a name defined twice keeps its first definition.
class ResourceScripts : private Ogre::ResourceGroupListener, private Ogre::LogListener {
public:
    // Lines go to `sink`, which must outlive this; each call of initialise() and
    // parseLocation() is one load of it.
    ResourceScripts(std::string group, DiagnosticSink& sink);
    ~ResourceScripts() override;
    ResourceScripts(const ResourceScripts&) = delete;
    ResourceScripts& operator=(const ResourceScripts&) = delete;

    // Initialises the group, then parses the scripts of all its locations, those named in
    // `core` first.
    void initialise(const std::vector<std::string>& core);
    // Parses the scripts of `location`, added to the group after initialise(). Before,
    // does nothing: initialise() will.
    void parseLocation(const std::string& location);

private:
    using Location = Ogre::ResourceGroupManager::ResourceLocation;

    void parse(const std::vector<const Location*>& locations);
    // `file` of `archive` (shown as `shown`) through `loader`.
    void parseScript(Ogre::ScriptLoader& loader, Ogre::Archive& archive, const std::string& file,
                     const std::string& shown);
    // While the group is initialised the engine skips every script: they are parsed here.
    void scriptParseStarted(const Ogre::String& script, bool& skip) override;
    // Errors the engine only logs while a script is parsed (the script lexer's) become
    // diagnostic lines.
    void messageLogged(const Ogre::String& message, Ogre::LogMessageLevel level, bool maskDebug,
                       const Ogre::String& logName, bool& skip) override;

    // "ORIGIN: FILE: MESSAGE" about the script `file`, or "ORIGIN: MESSAGE" without one.
    void report(const char* origin, const std::string& file, std::string message) const;

    std::string group;
    DiagnosticSink& sink;
    bool initialising = false;
    bool initialised = false;
    // The script being parsed, as diagnostic lines name it.
    std::string current;
    ScriptDefinitions definitions;
};

} // namespace corvane
