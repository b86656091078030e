#include "framework/PluginExports.h"
#include "playback/PlaybackController.h"

namespace {

// The plug-in's one object, from library load to unload.
corvane::PlaybackController controller;

} // namespace

CORVANE_PLUGIN_ENTRY_POINTS(controller)
