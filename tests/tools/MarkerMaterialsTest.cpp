#include <gtest/gtest.h>

#include <cstdlib>

#include <OgreLogManager.h>
#include <OgreMaterialManager.h>
#include <OgrePass.h>
#include <OgreRenderWindow.h>
#include <OgreResourceGroupManager.h>
#include <OgreRoot.h>
#include <OgreTechnique.h>
#include <OgreTextureUnitState.h>
#include <OgreWorkQueue.h>

#include "tools/HeadlessMediaEngine.h"

namespace corvane::testing {

using tools::HeadlessMediaEngine;
namespace {

// The markers' materials name textures, which only a render system can load: this runs
// the whole media folder through the GL render system in a hidden window.
TEST(MarkerMaterials, LoadWithTheirTexturesUnderTheGLRenderSystem) {
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "needs a display";
    Ogre::LogManager logManager;
    logManager.createLog("test.log", true, false, true);
    Ogre::Root root("", "", "");
    // The engine's log is not locked; its work queue's workers would log beside this test.
    static_cast<Ogre::DefaultWorkQueueBase*>(root.getWorkQueue())->setWorkerThreadCount(0);
    root.loadPlugin(std::string(CORVANE_OGRE_PLUGIN_DIR) + "/RenderSystem_GL");
    root.loadPlugin(std::string(CORVANE_OGRE_PLUGIN_DIR) + "/Codec_STBI");
    root.setRenderSystem(root.getRenderSystemByName("OpenGL Rendering Subsystem"));
    root.initialise(false);
    Ogre::NameValuePairList options{{"hidden", "true"}};
    root.createRenderWindow("markers", 64, 64, false, &options);

    Ogre::ResourceGroupManager& resources = Ogre::ResourceGroupManager::getSingleton();
    resources.addResourceLocation(HeadlessMediaEngine::mediaFolder(), "FileSystem",
                                  HeadlessMediaEngine::GROUP);
    resources.initialiseResourceGroup(HeadlessMediaEngine::GROUP);

    const std::pair<const char*, const char*> markers[] = {{"MRK/FlarePoint", "flare.png"},
                                                           {"MRK/Camera", "camera.png"}};
    for (const auto& [name, texture] : markers) {
        SCOPED_TRACE(name);
        const Ogre::MaterialPtr material =
            Ogre::MaterialManager::getSingleton().getByName(name, HeadlessMediaEngine::GROUP);
        ASSERT_TRUE(material);
        material->load();
        const Ogre::Pass* pass = material->getTechnique(0)->getPass(0);
        EXPECT_FALSE(pass->getLightingEnabled());
        EXPECT_FALSE(pass->getDepthWriteEnabled());
        ASSERT_EQ(pass->getNumTextureUnitStates(), 1u);
        const Ogre::TexturePtr& loaded = pass->getTextureUnitState(0)->_getTexturePtr();
        ASSERT_TRUE(loaded);
        EXPECT_EQ(loaded->getName(), texture);
        EXPECT_EQ(loaded->getWidth(), 64u);
        EXPECT_TRUE(Ogre::PixelUtil::hasAlpha(loaded->getFormat()));
    }
}

} // namespace
} // namespace corvane::testing
