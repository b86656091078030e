#include "framework/PluginExports.h"
#include "tools/soak/MemoryProbe.h"

namespace {

corvane::tools::MemoryProbe probe;

} // namespace

CORVANE_PLUGIN_ENTRY_POINTS(probe)
