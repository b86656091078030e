// A plug-in for the host's tests. Its environment decides how it behaves:
//   <log file="PATH"/>              every call is appended to PATH, one line each
//   <start result="false"/>         StartPlugin returns false
//   <frames stopAfter="N"/>         RenderFrame returns false from the N-th frame on
//   <frames throwAt="N"/>           RenderFrame throws at the N-th frame
//   <query/>                        the first RenderFrame logs the providers of the test id
//   <throw in="ParseEnvironmentXML"/>, in="StartPlugin" or in="StopPlugin": that call throws
// Built with TEST_PLUGIN_THROWING_INFO, GetPluginInfo throws.
#include <fstream>
#include <stdexcept>
#include <string>
#include <tinyxml.h>

#include "framework/HostServices.h"
#include "framework/PluginExports.h"

#ifndef TEST_PLUGIN_LABEL
#error "TEST_PLUGIN_LABEL names the plug-in in its log lines"
#endif

namespace {

using namespace corvane;

// The id every test plug-in answers, and one no plug-in answers.
constexpr UUID TEST_IID = UUID::fromFields(0x7E57AB1E, 0x0001, 0x0002, 0x0003000000000004);

class TestPlugin final : public IUnknown {
public:
    HRESULT QueryInterface(const UUID& iid, void** out) override {
        if (iid != TEST_IID)
            return E_FAIL;
        *out = static_cast<IUnknown*>(this);
        AddRef();
        return S_OK;
    }
    std::int32_t AddRef() override { return ++count; }
    std::int32_t Release() override {
        --count;
        log("Release " + std::to_string(count));
        return count;
    }

    PLUGIN_INFO pluginInfo() {
#ifdef TEST_PLUGIN_THROWING_INFO
        throw std::runtime_error("no identity");
#endif
        log("GetPluginInfo");
        return {UUID::fromFields(0x7E57B106, 0, 0, TEST_PLUGIN_ID_TAIL), {UUID{}}, {}, this};
    }

    void parseEnvironment(const TiXmlElement* environment) {
        // The library may stay loaded between two tests of one process: start afresh.
        logPath.clear();
        startResult = true;
        stopAfter = throwAt = frame = 0;
        if (const TiXmlElement* file = environment->FirstChildElement("log"))
            logPath = file->Attribute("file") ? file->Attribute("file") : "";
        if (const TiXmlElement* start = environment->FirstChildElement("start"))
            startResult =
                !start->Attribute("result") || std::string(start->Attribute("result")) != "false";
        if (const TiXmlElement* frames = environment->FirstChildElement("frames")) {
            frames->QueryIntAttribute("stopAfter", &stopAfter);
            frames->QueryIntAttribute("throwAt", &throwAt);
        }
        queryOnFirstFrame = environment->FirstChildElement("query") != nullptr;
        throwIn.clear();
        if (const TiXmlElement* thrown = environment->FirstChildElement("throw"))
            throwIn = thrown->Attribute("in") ? thrown->Attribute("in") : "";
        log("ParseEnvironmentXML");
        if (throwIn == "ParseEnvironmentXML")
            throw std::runtime_error("bad environment");
    }

    bool start() {
        log("StartPlugin");
        if (throwIn == "StartPlugin")
            throw 42; // not even a standard exception
        return startResult;
    }

    bool renderFrame(float seconds) {
        ++frame;
        log("RenderFrame " + std::to_string(seconds));
        if (frame == 1 && queryOnFirstFrame) {
            std::string line = "providers";
            for (const UUID& id : QueryPluginsWithInterface(TEST_IID))
                line += " " + id.toString();
            log(line);
            void* pointer = nullptr;
            const std::list<UUID> none = QueryPluginsWithInterface(UUID{});
            log("unanswered " + std::to_string(none.size()) + " " +
                std::to_string(QueryPluginInterface(UUID{}, TEST_IID, &pointer)));
        }
        if (frame == throwAt)
            throw std::runtime_error("frame " + std::to_string(frame) + " went wrong");
        return stopAfter == 0 || frame < stopAfter;
    }

    void stop() {
        log("StopPlugin");
        if (throwIn == "StopPlugin")
            throw std::runtime_error("cannot stop");
    }

private:
    void log(const std::string& line) {
        if (!logPath.empty())
            std::ofstream(logPath, std::ios::app) << TEST_PLUGIN_LABEL << ": " << line << "\n";
    }

    std::int32_t count = 0;
    std::string logPath;
    std::string throwIn;
    bool startResult = true;
    bool queryOnFirstFrame = false;
    int stopAfter = 0;
    int throwAt = 0;
    int frame = 0;
};

TestPlugin plugin;

} // namespace

#ifdef TEST_PLUGIN_WITHOUT_STOP
CORVANE_EXPORT corvane::PLUGIN_INFO GetPluginInfo() {
    return plugin.pluginInfo();
}
CORVANE_EXPORT void ParseEnvironmentXML(const TiXmlElement* e) {
    plugin.parseEnvironment(e);
}
CORVANE_EXPORT bool StartPlugin() {
    return plugin.start();
}
CORVANE_EXPORT bool RenderFrame(float seconds) {
    return plugin.renderFrame(seconds);
}
#else
CORVANE_PLUGIN_ENTRY_POINTS(plugin)
#endif
