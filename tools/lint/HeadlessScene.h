#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tools/HeadlessRendering.h"

namespace Ogre {
class OverlaySystem;
class Root;
class SceneManager;
} // namespace Ogre

namespace corvane {
class DiagnosticSink;
}

namespace corvane::lint {

// A scene loaded by the viewer's own scene loader on the engine without a render system or
// window: meshes and skeletons are read, the scripts of every kind parsed by the engine's
// own managers as a render would (materials with their GPU programs, particle systems,
// fonts, overlays), nothing is rendered.
class HeadlessScene {
public:
    HeadlessScene();
    ~HeadlessScene();
    HeadlessScene(const HeadlessScene&) = delete;
    HeadlessScene& operator=(const HeadlessScene&) = delete;

    // Adds `folder` and every folder below it to the viewer's resource group; false, with
    // the engine's reason in `error`, when the engine cannot use it.
    bool addFolder(const std::string& folder, std::string& error);
    // Readies the group's resources and loads the scene resource `fileName` as the viewer
    // does; what the scripts and the scene loader find wrong goes to `sink`. False when
    // there is no such scene or it cannot be read.
    bool load(const std::string& fileName, DiagnosticSink& sink);

    Ogre::SceneManager& sceneManager() const { return *scene; }

private:
    // Members go in reverse order: the root object before the stand-ins it still uses
    // while it goes.
    tools::HeadlessRendering rendering;
    std::unique_ptr<Ogre::Root> root;
    // Fonts and overlays, as the viewer has them; gone before the root object.
    std::unique_ptr<Ogre::OverlaySystem> overlays;
    Ogre::SceneManager* scene = nullptr;
};

} // namespace corvane::lint
