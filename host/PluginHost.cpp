#include "host/PluginHost.h"

#include <chrono>
#include <exception>

#include "framework/IOutputStatus.h"
#include "framework/Identifiers.h"
#include "host/ExitCode.h"
#include "host/LoadedPlugin.h"
#include "platform/DebugOutput.h"
#include "platform/StopSignals.h"

namespace corvane {

namespace {

// The exported services are plain C functions; they reach the running host through this.
PluginHost* activeHost = nullptr;

void report(const std::string& text) {
    DebugOutput::line("corvane: " + text);
}

std::string describe(const PLUGIN_INFO& info) {
    std::string text = "plug-in " + info.pluginId.toString() + ", kind";
    for (const UUID& kind : info.kindIds)
        text += " " + kind.toString();
    return text;
}

} // namespace

PluginHost::PluginHost() : previous(activeHost) {
    activeHost = this;
}

PluginHost::~PluginHost() {
    stopAll();
    unloadAll();
    activeHost = previous;
}

PluginHost* PluginHost::active() {
    return activeHost;
}

bool PluginHost::guarded(LoadedPlugin& plugin, const char* call,
                         const std::function<void()>& body) {
    try {
        body();
        return true;
    } catch (const std::exception& exception) {
        report(plugin.name() + ": " + call + " ended with an exception: " + exception.what());
    } catch (...) {
        report(plugin.name() + ": " + call + " ended with an exception of unknown type");
    }
    return false;
}

int PluginHost::load(const std::string& path, const TiXmlElement* environment) {
    std::string error;
    std::unique_ptr<LoadedPlugin> plugin = LoadedPlugin::open(path, error);
    if (!plugin) {
        report(error);
        return EXIT_CODE_PLUGIN_LOAD;
    }
    LoadedPlugin& loaded = *plugin;
    plugins.push_back(std::move(plugin));
    // An exception from a plug-in call is that call's failure, whichever call it is.
    if (!guarded(loaded, "GetPluginInfo", [&] { loaded.identify(); }))
        return EXIT_CODE_PLUGIN_EXCEPTION;
    report("loaded " + loaded.name() + ": " + describe(loaded.info()));
    if (!guarded(loaded, "ParseEnvironmentXML", [&] { loaded.parseEnvironment(environment); }))
        return EXIT_CODE_PLUGIN_EXCEPTION;
    return EXIT_CODE_OK;
}

int PluginHost::startAll() {
    for (const std::unique_ptr<LoadedPlugin>& plugin : plugins) {
        bool started = false;
        if (!guarded(*plugin, "StartPlugin", [&] { started = plugin->start(); })) {
            stopAll();
            return EXIT_CODE_PLUGIN_EXCEPTION;
        }
        if (!started) {
            stopAll();
            if (const int status = withOutputs(EXIT_CODE_PLUGIN_START);
                status != EXIT_CODE_PLUGIN_START)
                return status;
            report(plugin->name() + ": the plug-in did not start");
            return EXIT_CODE_PLUGIN_START;
        }
    }
    return EXIT_CODE_OK;
}

int PluginHost::runFrames(const FrameOptions& options) {
    using Clock = std::chrono::steady_clock;
    Clock::time_point last = Clock::now();
    while (!options.frames || frameCount < *options.frames) {
        if (const int signal = StopSignals::received()) {
            report("stopping on signal " + std::to_string(signal));
            return EXIT_CODE_SIGNAL_BASE + signal;
        }
        const Clock::time_point now = Clock::now();
        const float seconds = options.fixedStep ? *options.fixedStep
                                                : std::chrono::duration<float>(now - last).count();
        last = now;
        ++frameCount;
        bool keepRunning = true;
        for (const std::unique_ptr<LoadedPlugin>& plugin : plugins) {
            bool result = true;
            if (!guarded(*plugin, "RenderFrame", [&] { result = plugin->renderFrame(seconds); }))
                return EXIT_CODE_PLUGIN_EXCEPTION;
            keepRunning = keepRunning && result;
        }
        // Every plug-in gets the frame in which one of them asks to stop.
        if (!keepRunning)
            return EXIT_CODE_OK;
    }
    return EXIT_CODE_OK;
}

bool PluginHost::stopAll() {
    bool stopped = true;
    for (auto plugin = plugins.rbegin(); plugin != plugins.rend(); ++plugin)
        if ((*plugin)->started() && !guarded(**plugin, "StopPlugin", [&] { (*plugin)->stop(); }))
            stopped = false;
    return stopped;
}

int PluginHost::withOutputs(int status) {
    if (status != EXIT_CODE_OK && status != EXIT_CODE_PLUGIN_START)
        return status;
    int outputs = status;
    for (const std::unique_ptr<LoadedPlugin>& plugin : plugins) {
        IUnknown* object = plugin->info().pluginObject;
        void* pointer = nullptr;
        if (object == nullptr || object->QueryInterface(IID_IOutputStatus, &pointer) != S_OK)
            continue;
        auto* output = static_cast<IOutputStatus*>(pointer);
        std::int32_t state = IOutputStatus::OUTPUT_WRITTEN;
        guarded(*plugin, "IOutputStatus::getOutputStatus",
                [&] { state = output->getOutputStatus(); });
        output->Release();
        // A folder that another run holds is said first: nothing was written at all.
        if (state == IOutputStatus::OUTPUT_IN_USE)
            return EXIT_CODE_CONFIGURATION;
        if (state == IOutputStatus::OUTPUT_FAILED)
            outputs = EXIT_CODE_OUTPUT;
    }
    return outputs;
}

void PluginHost::unloadAll() {
    while (!plugins.empty())
        plugins.pop_back();
}

std::list<UUID> PluginHost::pluginsWithInterface(const UUID& iid) {
    std::list<UUID> answer;
    for (const std::unique_ptr<LoadedPlugin>& plugin : plugins) {
        IUnknown* object = plugin->info().pluginObject;
        if (object == nullptr)
            continue;
        void* pointer = nullptr;
        if (object->QueryInterface(iid, &pointer) == S_OK) {
            // The host only asks: give back the reference the query added.
            object->Release();
            answer.push_back(plugin->info().pluginId);
        }
    }
    return answer;
}

bool PluginHost::pluginInterface(const UUID& pluginId, const UUID& iid, void** out) {
    for (const std::unique_ptr<LoadedPlugin>& plugin : plugins) {
        if (plugin->info().pluginId != pluginId)
            continue;
        IUnknown* object = plugin->info().pluginObject;
        return object != nullptr && object->QueryInterface(iid, out) == S_OK;
    }
    return false;
}

} // namespace corvane
