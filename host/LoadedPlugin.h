#pragma once

#include <memory>
#include <string>

#include "framework/PluginExports.h"
#include "framework/PluginInfo.h"

namespace corvane {

class DynamicLibrary;

// One opened plug-in library with its five exports and its identification.
class LoadedPlugin {
public:
    // Opens the library and resolves the five exports; null and `error` set (naming the
    // library and, for a missing export, the export) when either fails.
    static std::unique_ptr<LoadedPlugin> open(const std::string& path, std::string& error);
    ~LoadedPlugin();

    // The file name without folder and extension, used in every message about the plug-in.
    const std::string& name() const { return displayName; }
    const PLUGIN_INFO& info() const { return identification; }
    bool started() const { return running; }

    // The exports. identify() fetches and keeps the PLUGIN_INFO.
    void identify();
    void parseEnvironment(const TiXmlElement* environment);
    bool start();
    bool renderFrame(float seconds);
    void stop();

private:
    LoadedPlugin() = default;

    // Declared first so that it is closed last, after everything the library's code made.
    std::unique_ptr<DynamicLibrary> library;
    std::string displayName;
    PLUGIN_INFO identification{};
    bool running = false;
    GetPluginInfoFunction getPluginInfo = nullptr;
    ParseEnvironmentXMLFunction parseEnvironmentXML = nullptr;
    StartPluginFunction startPlugin = nullptr;
    RenderFrameFunction renderFrameFunction = nullptr;
    StopPluginFunction stopPlugin = nullptr;
};

} // namespace corvane
