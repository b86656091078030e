#include "framework/PluginExports.h"
#include "services/sound/SoundService.h"

namespace {

// The plug-in's one object, from library load to unload.
corvane::SoundService service;

} // namespace

CORVANE_PLUGIN_ENTRY_POINTS(service)
