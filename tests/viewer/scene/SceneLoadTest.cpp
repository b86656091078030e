#include "tests/viewer/scene/SceneLoadTest.h"

#include <OgreControllerManager.h>
#include <OgreDefaultHardwareBufferManager.h>
#include <OgreLogManager.h>
#include <OgreMaterialManager.h>
#include <OgreParticleSystem.h>
#include <OgreParticleSystemManager.h>
#include <OgreRoot.h>
#include <OgreSceneManager.h>
#include <sstream>

#include "tests/viewer/scene/TriangleMesh.h"
#include "viewer/ResourceGroup.h"

namespace corvane::testing {

namespace {

constexpr const char* TEST_GROUP = "SceneLoadTest";
constexpr const char* TRIANGLE_MESH = "triangle.mesh";

// The engine lives from the first test that needs it to the end of the test program.
class Engine : public ::testing::Environment {
public:
    static void start() {
        if (root != nullptr)
            return;
        log = OGRE_NEW Ogre::LogManager();
        log->createLog("test.log", true, false, false);
        root = OGRE_NEW Ogre::Root("", "", "test.log");
        buffers = OGRE_NEW Ogre::DefaultHardwareBufferManager();
        Ogre::MaterialManager::getSingleton().initialise();
        // The billboard renderer of particle systems and the controllers that run them,
        // which the root's initialisation would make.
        Ogre::ParticleSystemManager::getSingleton()._initialise();
        controllers = OGRE_NEW Ogre::ControllerManager();
        Ogre::ResourceGroupManager::getSingleton().createResourceGroup(TEST_GROUP);
        TriangleMesh::create(TRIANGLE_MESH, TEST_GROUP);
    }

    void TearDown() override {
        OGRE_DELETE root;
        OGRE_DELETE controllers;
        OGRE_DELETE buffers;
        OGRE_DELETE log;
        root = nullptr;
    }

private:
    static inline Ogre::LogManager* log = nullptr;
    static inline Ogre::Root* root = nullptr;
    static inline Ogre::DefaultHardwareBufferManager* buffers = nullptr;
    static inline Ogre::ControllerManager* controllers = nullptr;
};

::testing::Environment* const engine = ::testing::AddGlobalTestEnvironment(new Engine);

} // namespace

const char* const SceneLoadTest::mesh = TRIANGLE_MESH;

void SceneLoadTest::SetUp() {
    Engine::start();
    scene = Ogre::Root::getSingleton().createSceneManager();
    Ogre::ResourceGroupManager::getSingleton().createResourceGroup(VIEWER_RESOURCE_GROUP);
}

void SceneLoadTest::TearDown() {
    // A test that skipped itself before SetUp made anything has nothing to take down.
    if (scene == nullptr)
        return;
    Ogre::ResourceGroupManager::getSingleton().destroyResourceGroup(VIEWER_RESOURCE_GROUP);
    Ogre::Root::getSingleton().destroySceneManager(scene);
}

void SceneLoadTest::addScene(const std::string& name, const std::string& text) {
    folder.write(name, text);
}

void SceneLoadTest::addLocation(const std::string& location) {
    Ogre::ResourceGroupManager::getSingleton().addResourceLocation(location, "FileSystem",
                                                                   VIEWER_RESOURCE_GROUP);
}

bool SceneLoadTest::load(const std::string& name, Ogre::SceneNode* root) {
    // A location's files are listed when it is added: add it again to see new scenes.
    Ogre::ResourceGroupManager& resources = Ogre::ResourceGroupManager::getSingleton();
    resources.removeResourceLocation(folder.path(), VIEWER_RESOURCE_GROUP);
    resources.addResourceLocation(folder.path(), "FileSystem", VIEWER_RESOURCE_GROUP);
    ::testing::internal::CaptureStderr();
    try {
        const bool loaded = loader.load(name, scene, nullptr, false, root);
        diagnostics = ::testing::internal::GetCapturedStderr();
        return loaded;
    } catch (...) {
        diagnostics = ::testing::internal::GetCapturedStderr();
        throw;
    }
}

bool SceneLoadTest::loadNodes(const std::string& nodes) {
    addScene("test.scene", "<scene><nodes>" + nodes + "</nodes></scene>");
    return load("test.scene");
}

std::string SceneLoadTest::problems() const {
    std::istringstream lines(diagnostics);
    std::string found;
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("SceneLoader::", 0) == 0)
            found += line + "\n";
    return found;
}

} // namespace corvane::testing
