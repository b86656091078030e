#pragma once

#include "framework/PluginInfo.h"

class TiXmlElement;

// The five entry points every plug-in exports, looked up by the host by these names:
//   GetPluginInfo        identification; a fresh record on every call, callable at any time
//   ParseEnvironmentXML  configuration from the host's element, which is only read during
//                        the call; always before StartPlugin
//   StartPlugin          start; false means the plug-in did not start
//   RenderFrame          one frame of work, given the seconds since the previous frame;
//                        false asks the host to stop; only after a StartPlugin that returned true
//   StopPlugin           last call before the library is closed
namespace corvane {

using GetPluginInfoFunction = PLUGIN_INFO (*)();
using ParseEnvironmentXMLFunction = void (*)(const TiXmlElement* environment);
using StartPluginFunction = bool (*)();
using RenderFrameFunction = bool (*)(float seconds);
using StopPluginFunction = void (*)();

} // namespace corvane

#define CORVANE_EXPORT extern "C" __attribute__((visibility("default")))

// Defines the five exports of a plug-in, each forwarding to the plug-in's one static
// object, which offers pluginInfo(), parseEnvironment(), start(), renderFrame() and stop().
#define CORVANE_PLUGIN_ENTRY_POINTS(object)                                                        \
    CORVANE_EXPORT corvane::PLUGIN_INFO GetPluginInfo() {                                          \
        return (object).pluginInfo();                                                              \
    }                                                                                              \
    CORVANE_EXPORT void ParseEnvironmentXML(const TiXmlElement* environment) {                     \
        (object).parseEnvironment(environment);                                                    \
    }                                                                                              \
    CORVANE_EXPORT bool StartPlugin() {                                                            \
        return (object).start();                                                                   \
    }                                                                                              \
    CORVANE_EXPORT bool RenderFrame(float seconds) {                                               \
        return (object).renderFrame(seconds);                                                      \
    }                                                                                              \
    CORVANE_EXPORT void StopPlugin() {                                                             \
        (object).stop();                                                                           \
    }
