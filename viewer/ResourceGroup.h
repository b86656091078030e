#pragma once

namespace corvane {

// The engine resource group into which the viewer registers every location (the user's
// search paths and the core resources), and in which the scene loader finds its files.
inline constexpr const char* VIEWER_RESOURCE_GROUP = "SceneViewer";

} // namespace corvane
