#pragma once

#include <memory>
#include <string>

#include "tools/HeadlessRendering.h"

namespace Ogre {
class Entity;
class Root;
class SceneManager;
class SceneNode;
} // namespace Ogre

namespace corvane::tools {

// The engine as tests and benchmarks use it: no render system and no window (HeadlessRendering),
// and the generated media folder as the resource location of one group. Meshes, skeletons,
// entities, animation states and bone attachment all work this way.
class HeadlessMediaEngine {
public:
    HeadlessMediaEngine();
    ~HeadlessMediaEngine();
    HeadlessMediaEngine(const HeadlessMediaEngine&) = delete;
    HeadlessMediaEngine& operator=(const HeadlessMediaEngine&) = delete;

    Ogre::Root& root() const { return *engineRoot; }
    Ogre::SceneManager* sceneManager() const { return scene; }

    // An entity "entity_<name>" of the generated mesh, on a new child of the root node
    // called "node_<name>", as the scene loader names them.
    Ogre::Entity* addEntity(const std::string& name, const std::string& mesh) const;
    Ogre::SceneNode* addNode(const std::string& name) const;

    // The folder that the media generator writes into.
    static std::string mediaFolder();
    // The resource group that holds the generated media.
    static const char* const GROUP;

private:
    HeadlessRendering rendering;
    std::unique_ptr<Ogre::Root> engineRoot;
    Ogre::SceneManager* scene = nullptr;
};

} // namespace corvane::tools
