#include "framework/PluginExports.h"
#include "services/interface/InterfaceService.h"

namespace {

// The plug-in's one object, from library load to unload.
corvane::InterfaceService service;

} // namespace

CORVANE_PLUGIN_ENTRY_POINTS(service)
