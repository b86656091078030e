#pragma once

#include <list>

#include "framework/IUnknown.h"
#include "framework/UUID.h"

namespace corvane {

// A plug-in's identification, returned by value from GetPluginInfo. The record owns its
// lists; host and plug-ins share one standard library, so the lists cross by value.
struct PLUGIN_INFO {
    UUID pluginId;                // names the plug-in in QueryPluginInterface
    std::list<UUID> kindIds;      // the plug-in's kind codes, one entry each
    std::list<UUID> secondaryIds; // left empty by every plug-in of this system
    IUnknown* pluginObject;       // the plug-in's one object, through its primary interface
};

} // namespace corvane
