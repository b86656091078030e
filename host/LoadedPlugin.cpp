#include "host/LoadedPlugin.h"

#include <filesystem>

#include "platform/DynamicLibrary.h"

namespace corvane {

namespace {

template <class Function>
bool resolve(const DynamicLibrary& library, const char* name, Function& out) {
    out = reinterpret_cast<Function>(library.symbol(name));
    return out != nullptr;
}

} // namespace

std::unique_ptr<LoadedPlugin> LoadedPlugin::open(const std::string& path, std::string& error) {
    std::string reason;
    std::unique_ptr<DynamicLibrary> library = DynamicLibrary::open(path, reason);
    if (!library) {
        error = path + ": cannot open the plug-in library: " + reason;
        return nullptr;
    }
    std::unique_ptr<LoadedPlugin> plugin(new LoadedPlugin());
    plugin->displayName = std::filesystem::path(path).stem().string();
    const char* missing = nullptr;
    if (!resolve(*library, "GetPluginInfo", plugin->getPluginInfo))
        missing = "GetPluginInfo";
    else if (!resolve(*library, "ParseEnvironmentXML", plugin->parseEnvironmentXML))
        missing = "ParseEnvironmentXML";
    else if (!resolve(*library, "StartPlugin", plugin->startPlugin))
        missing = "StartPlugin";
    else if (!resolve(*library, "RenderFrame", plugin->renderFrameFunction))
        missing = "RenderFrame";
    else if (!resolve(*library, "StopPlugin", plugin->stopPlugin))
        missing = "StopPlugin";
    if (missing != nullptr) {
        error = path + ": not a plug-in: the export \"" + missing + "\" is missing";
        return nullptr;
    }
    plugin->library = std::move(library);
    return plugin;
}

LoadedPlugin::~LoadedPlugin() = default;

void LoadedPlugin::identify() {
    identification = getPluginInfo();
}

void LoadedPlugin::parseEnvironment(const TiXmlElement* environment) {
    parseEnvironmentXML(environment);
}

bool LoadedPlugin::start() {
    running = startPlugin();
    return running;
}

bool LoadedPlugin::renderFrame(float seconds) {
    return renderFrameFunction(seconds);
}

void LoadedPlugin::stop() {
    running = false;
    stopPlugin();
}

} // namespace corvane
