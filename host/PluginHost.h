#pragma once

#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/UUID.h"

class TiXmlElement;

namespace corvane {

class LoadedPlugin;

// Loads plug-ins, runs their entry points in the required order and answers their
// queries for each other's interfaces. While a host exists, the exported query services
// of the process answer from it.
class PluginHost {
public:
    struct FrameOptions {
        std::optional<float> fixedStep;      // every frame gets this many seconds
        std::optional<std::uint64_t> frames; // stop after this many frames
    };

    PluginHost();
    ~PluginHost();
    PluginHost(const PluginHost&) = delete;
    PluginHost& operator=(const PluginHost&) = delete;

    // Opens the library, identifies it and hands it its environment. EXIT_CODE_OK, or after
    // one message EXIT_CODE_PLUGIN_LOAD (the library cannot be opened or lacks an export)
    // or EXIT_CODE_PLUGIN_EXCEPTION (GetPluginInfo or ParseEnvironmentXML threw); the
    // plug-ins loaded so far stay.
    int load(const std::string& path, const TiXmlElement* environment);
    // Starts every loaded plug-in in load order. When one does not start (or throws), the
    // started ones are stopped and the exit status is returned; 0 when all started. A
    // plug-in that did not start because of its output has said why, and its output's
    // status is returned (outputStatus).
    int startAll();
    // Calls RenderFrame of every plug-in in load order, once per frame, until one returns
    // false, the frame count is reached or a stop signal arrives. Returns the exit status.
    int runFrames(const FrameOptions& options);
    // Stops the started plug-ins in reverse order; false when a StopPlugin threw.
    bool stopAll();
    // `status` once the outputs of the plug-ins are counted: a run that ended well, or a
    // plug-in that did not start, becomes EXIT_CODE_OUTPUT when a plug-in's output could
    // not be written (IOutputStatus), or EXIT_CODE_CONFIGURATION when its folder was
    // another run's. Any other status stands.
    int withOutputs(int status);
    // Closes every library in reverse order.
    void unloadAll();

    std::size_t pluginCount() const { return plugins.size(); }
    std::uint64_t framesRun() const { return frameCount; }

    // The host's query services, as exported to the plug-ins.
    std::list<UUID> pluginsWithInterface(const UUID& iid);
    bool pluginInterface(const UUID& pluginId, const UUID& iid, void** out);

    // The host that the exported services answer from; null when there is none.
    static PluginHost* active();

private:
    // Runs one call into a plug-in; an exception is reported with the plug-in's name and
    // the call, and makes the result false.
    bool guarded(LoadedPlugin& plugin, const char* call, const std::function<void()>& body);

    std::vector<std::unique_ptr<LoadedPlugin>> plugins;
    std::uint64_t frameCount = 0;
    PluginHost* previous = nullptr;
};

} // namespace corvane
