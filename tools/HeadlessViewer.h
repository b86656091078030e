#pragma once

#include <memory>

#include "tools/HeadlessRendering.h"
#include "viewer/ViewerApplication.h"

namespace corvane::tools {

// The viewer plug-in's own object without a window or render system, for tests,
// benchmarks and fuzz targets: set-up makes the root object over HeadlessRendering,
// registers only the locations it is given (no core resources), and makes no window or
// viewport; the scene manager, camera, scene loading, object controls, camera operations
// and timeline are the plug-in's code. Frames go through advanceScene (nothing renders).
//
//   HeadlessViewer viewer;
//   viewer.addResourceLocation(folder, "FileSystem");
//   viewer.setSceneFile("test.scene");
//   viewer.setUp();
class HeadlessViewer : private HeadlessRendering, public ViewerApplication {
public:
    HeadlessViewer();
    ~HeadlessViewer() override;

    bool configure() override;
    void setUpViewport() override;
    void addResourceLocations() override;
    std::unique_ptr<Ogre::Root> createRoot() override;
};

} // namespace corvane::tools
