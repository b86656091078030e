#include "framework/PluginExports.h"
#include "services/capture/FrameCapture.h"

namespace {

// The plug-in's one object, from library load to unload.
corvane::FrameCapture capture;

} // namespace

CORVANE_PLUGIN_ENTRY_POINTS(capture)
