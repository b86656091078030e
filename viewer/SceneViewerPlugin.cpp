#include "framework/PluginExports.h"
#include "viewer/ViewerApplication.h"

namespace {

// The plug-in's one object, from library load to unload.
corvane::ViewerApplication application;

} // namespace

CORVANE_PLUGIN_ENTRY_POINTS(application)
