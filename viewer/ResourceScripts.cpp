#include "viewer/ResourceScripts.h"

#include <OgreArchive.h>
#include <OgreLogManager.h>
#include <OgreScriptLoader.h>
#include <algorithm>
#include <map>
#include <string_view>
#include <utility>

#include "platform/DebugOutput.h"

namespace corvane {

namespace {

// One script file, with what places it in the engine's order.
struct Script {
    Ogre::ScriptLoader* loader;
    std::size_t pattern; // its place among the loader's patterns
    std::size_t location;
    Ogre::Archive* archive;
    std::string file;
};

// The loader of files whose names end in `extension` (with its dot), and the place of that
// pattern among the loader's; null when no loader reads such files.
std::pair<Ogre::ScriptLoader*, std::size_t> loaderOf(const std::string& extension) {
    const std::string pattern = "*" + extension;
    Ogre::ScriptLoader* loader =
        Ogre::ResourceGroupManager::getSingleton()._findScriptLoader(pattern);
    if (loader == nullptr)
        return {nullptr, 0};
    const Ogre::StringVector& patterns = loader->getScriptPatterns();
    return {loader, static_cast<std::size_t>(std::find(patterns.begin(), patterns.end(), pattern) -
                                             patterns.begin())};
}

// Removes a listener when the scope ends, also by an exception.
template <class Remove>
struct Scope {
    Remove remove;
    ~Scope() { remove(); }
};
template <class Remove>
Scope(Remove) -> Scope<Remove>;

} // namespace

ResourceScripts::ResourceScripts(std::string group, DiagnosticSink& sink)
    : group(std::move(group)), sink(sink), definitions(sink) {}

void ResourceScripts::report(const char* origin, const std::string& file,
                             std::string message) const {
    Diagnostic diagnostic;
    diagnostic.file = file;
    diagnostic.origin = origin;
    diagnostic.message = std::move(message);
    diagnostic.layout = file.empty() ? Diagnostic::Layout::MESSAGE : Diagnostic::Layout::FILE_LINE;
    sink.report(diagnostic);
}

ResourceScripts::~ResourceScripts() = default;

void ResourceScripts::initialise(const std::vector<std::string>& core) {
    Ogre::ResourceGroupManager& resources = Ogre::ResourceGroupManager::getSingleton();
    // A group that is ready had its scripts parsed already.
    if (resources.isResourceGroupInitialised(group)) {
        initialised = true;
        return;
    }
    const DiagnosticSink::Load load(sink);
    {
        resources.addResourceGroupListener(this);
        initialising = true;
        const Scope stop{[&] {
            initialising = false;
            resources.removeResourceGroupListener(this);
        }};
        try {
            resources.initialiseResourceGroup(group);
        } catch (const Ogre::Exception& error) {
            report("ResourceScripts::initialise()", "",
                   group + " is not ready: " + DebugOutput::oneLine(error.getDescription()));
        }
    }
    initialised = true;
    std::vector<const Location*> locations;
    const auto isCore = [&](const Location& location) {
        return std::find(core.begin(), core.end(), location.archive->getName()) != core.end();
    };
    for (const bool coreFirst : {true, false})
        for (const Location& location : resources.getResourceLocationList(group))
            if (isCore(location) == coreFirst)
                locations.push_back(&location);
    parse(locations);
}

void ResourceScripts::parseLocation(const std::string& location) {
    if (!initialised)
        return;
    const DiagnosticSink::Load load(sink);
    for (const Location& registered :
         Ogre::ResourceGroupManager::getSingleton().getResourceLocationList(group))
        if (registered.archive->getName() == location)
            return parse({&registered});
}

void ResourceScripts::parse(const std::vector<const Location*>& locations) {
    std::vector<Script> scripts;
    std::map<std::string, std::pair<Ogre::ScriptLoader*, std::size_t>> loaders;
    for (std::size_t index = 0; index < locations.size(); ++index) {
        Ogre::Archive* archive = locations[index]->archive;
        Ogre::FileInfoListPtr files;
        try {
            files = archive->findFileInfo("*", locations[index]->recursive);
        } catch (const Ogre::Exception& error) {
            report("ResourceScripts::parse()", "",
                   "the scripts of " + archive->getName() +
                       " cannot be listed: " + DebugOutput::oneLine(error.getDescription()));
            continue;
        }
        for (const Ogre::FileInfo& file : *files) {
            const std::size_t dot = file.basename.rfind('.');
            if (dot == std::string::npos)
                continue;
            const std::string extension = file.basename.substr(dot);
            auto found = loaders.find(extension);
            if (found == loaders.end())
                found = loaders.emplace(extension, loaderOf(extension)).first;
            if (found->second.first != nullptr)
                scripts.push_back(
                    {found->second.first, found->second.second, index, archive, file.filename});
        }
    }
    // Within a location the archive's own order stays, as the engine keeps it.
    std::stable_sort(scripts.begin(), scripts.end(), [](const Script& a, const Script& b) {
        const Ogre::Real orderA = a.loader->getLoadingOrder();
        const Ogre::Real orderB = b.loader->getLoadingOrder();
        if (orderA != orderB)
            return orderA < orderB;
        if (a.pattern != b.pattern)
            return a.pattern < b.pattern;
        return a.location < b.location;
    });
    for (const Script& script : scripts)
        parseScript(*script.loader, *script.archive, script.file,
                    script.archive->getName() + "/" + script.file);
}

void ResourceScripts::parseScript(Ogre::ScriptLoader& loader, Ogre::Archive& archive,
                                  const std::string& file, const std::string& shown) {
    current = shown;
    definitions.setScript(shown, file);
    Ogre::ScriptCompilerManager& compiler = Ogre::ScriptCompilerManager::getSingleton();
    Ogre::ScriptCompilerListener* previous = compiler.getListener();
    compiler.setListener(&definitions);
    Ogre::Log* log = Ogre::LogManager::getSingleton().getDefaultLog();
    if (log != nullptr)
        log->addListener(this);
    const Scope stop{[&] {
        if (log != nullptr)
            log->removeListener(this);
        compiler.setListener(previous);
    }};
    try {
        Ogre::DataStreamPtr stream = archive.open(file);
        loader.parseScript(stream, group);
    } catch (const std::exception& error) {
        // The engine's own exceptions say more in their description than in what().
        const auto* engine = dynamic_cast<const Ogre::Exception*>(&error);
        report("ResourceScripts::parse()", shown,
               DebugOutput::oneLine(engine != nullptr ? engine->getDescription() : error.what()) +
                   "; the script is skipped");
    }
}

void ResourceScripts::scriptParseStarted(const Ogre::String&, bool& skip) {
    if (initialising)
        skip = true;
}

void ResourceScripts::messageLogged(const Ogre::String& message, Ogre::LogMessageLevel level, bool,
                                    const Ogre::String&, bool&) {
    if (level < Ogre::LML_CRITICAL)
        return;
    // The engine marks its errors so in its log; a diagnostic line is one by itself.
    constexpr std::string_view MARK = "Error: ";
    const std::string_view text = message.compare(0, MARK.size(), MARK) == 0
                                      ? std::string_view(message).substr(MARK.size())
                                      : std::string_view(message);
    report("ResourceScripts::parse()", current, DebugOutput::oneLine(std::string(text)));
}

} // namespace corvane
