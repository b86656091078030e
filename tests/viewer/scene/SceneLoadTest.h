#pragma once

#include <gtest/gtest.h>
#include <string>

#include "tests/support/TemporaryFolder.h"
#include "viewer/scene/SceneLoader.h"

namespace Ogre {
class SceneManager;
}

namespace corvane::testing {

// A test that loads scenes: the engine without a render system (made once for the test
// program, its log going to a file only so that the diagnostic channel can be read), a
// fresh scene manager, and the viewer's resource group over a temporary folder.
class SceneLoadTest : public ::testing::Test {
public:
    // A mesh with one triangle, made in memory once for the test program.
    static const char* const mesh;

protected:
    void SetUp() override;
    void TearDown() override;

    // Writes a scene resource into the folder.
    void addScene(const std::string& name, const std::string& text);
    // Adds a location of its own to the viewer's group (the shared media folders).
    void addLocation(const std::string& folder);
    // Loads the scene resource `name`; the diagnostic lines written meanwhile go to
    // `diagnostics`.
    bool load(const std::string& name, Ogre::SceneNode* root = nullptr);
    // Loads a scene whose "nodes" element holds `nodes`.
    bool loadNodes(const std::string& nodes);
    // The lines of `diagnostics` that report a problem (not the resource names).
    std::string problems() const;

    Ogre::SceneManager* scene = nullptr;
    SceneLoader loader;
    TemporaryFolder folder;
    std::string diagnostics;
};

} // namespace corvane::testing
