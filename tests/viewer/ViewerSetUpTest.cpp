#include <Ogre.h>
#include <OgreConfigDialog.h>
#include <OgreFontManager.h>
#include <OgreOverlayManager.h>
#include <filesystem>
#include <tinyxml.h>

#include "platform/CurrentDirectory.h"
#include "platform/WindowSystem.h"
#include "tests/viewer/ViewerFixture.h"
#include "viewer/ResourceGroup.h"

namespace corvane {
namespace {

using testing::ViewerTest;

TEST_F(ViewerTest, SetUpGivesTheCameraAndAFullBlackViewportInTheRestoredWindow) {
    start();
    EXPECT_EQ(CurrentDirectory::get(), folder->path());
    EXPECT_TRUE(std::filesystem::exists(folder->startDirectory() + "/Ogre.log"));

    Ogre::RenderWindow* window = viewer->getRenderWindow();
    EXPECT_EQ(window->getName(), "Corvane - SceneViewer::Ogre");
    EXPECT_FALSE(window->isFullScreen());
    EXPECT_FALSE(window->isHidden());
    EXPECT_EQ(viewer->getWindowWidth(), 800u);
    EXPECT_EQ(viewer->getWindowHeight(), 600u);

    Ogre::Camera* camera = viewer->getCamera();
    ASSERT_NE(camera, nullptr);
    EXPECT_EQ(camera->getName(), "PlayerCam");
    EXPECT_EQ(viewer->getSceneManager()->getCamera("PlayerCam"), camera);
    EXPECT_EQ(camera->getDerivedPosition(), Ogre::Vector3::ZERO);
    EXPECT_TRUE(camera->getDerivedDirection().positionEquals(Ogre::Vector3::NEGATIVE_UNIT_Z));
    EXPECT_EQ(camera->getNearClipDistance(), 5.0f);

    ASSERT_EQ(window->getNumViewports(), 1u);
    Ogre::Viewport* viewport = window->getViewport(0);
    EXPECT_EQ(viewport->getCamera(), camera);
    EXPECT_EQ(viewport->getLeft(), 0.0f);
    EXPECT_EQ(viewport->getTop(), 0.0f);
    EXPECT_EQ(viewport->getWidth(), 1.0f);
    EXPECT_EQ(viewport->getHeight(), 1.0f);
    EXPECT_EQ(viewport->getBackgroundColour(), Ogre::ColourValue(0, 0, 0, 1));
}

TEST_F(ViewerTest, UserLocationsComeInByteWiseOrderBeforeTheCoreResources) {
    folder->write("b/readme.txt", "b");
    folder->write("a/readme.txt", "a");
    TiXmlDocument document;
    document.Parse(R"(<environment>
        <searchpath src="../../b"/>
        <searchpath src="../../a"/>
      </environment>)");
    viewer->parseEnvironment(document.RootElement());
    start();

    std::vector<std::string> names;
    for (const auto& location :
         Ogre::ResourceGroupManager::getSingleton().getResourceLocationList(VIEWER_RESOURCE_GROUP))
        names.push_back(location.archive->getName());
    EXPECT_EQ(names, (std::vector<std::string>{"../../a", "../../b", "../OgreCore/OgreCore.zip",
                                               "../OgreCore"}));
    EXPECT_TRUE(viewer->pendingResourceLocations().empty());

    // After set-up a location is registered at once.
    folder->write("c/readme.txt", "c");
    viewer->addResourceLocation(folder->path() + "/c", "FileSystem");
    EXPECT_TRUE(Ogre::ResourceGroupManager::getSingleton().resourceExists(VIEWER_RESOURCE_GROUP,
                                                                          "readme.txt"));
    EXPECT_EQ(Ogre::ResourceGroupManager::getSingleton()
                  .getResourceLocationList(VIEWER_RESOURCE_GROUP)
                  .size(),
              5u);
}

TEST_F(ViewerTest, LocationsTheEngineCannotOpenAreLeftOutWithOneLineEach) {
    struct Row {
        const char* source;
        const char* type;
        const char* diagnostic;
    };
    const Row rows[] = {
        {"../../missing.zip", "Zip",
         "ViewerApplication::addResourceLocation(): \"../../missing.zip\" (Zip) is left out: "
         "Unable to open zip file '../../missing.zip'\n"},
        {"../../a", "Zipp",
         "ViewerApplication::addResourceLocation(): \"../../a\" (Zipp) is left out: Cannot find "
         "an archive factory to deal with archive of type Zipp\n"},
    };
    folder->write("a/readme.txt", "a");
    for (const Row& row : rows)
        viewer->addResourceLocation(row.source, row.type);
    ::testing::internal::CaptureStderr();
    start();
    const std::string output = ::testing::internal::GetCapturedStderr();
    for (const Row& row : rows)
        EXPECT_NE(output.find(row.diagnostic), std::string::npos) << row.source << "\n" << output;
    EXPECT_EQ(Ogre::ResourceGroupManager::getSingleton()
                  .getResourceLocationList(VIEWER_RESOURCE_GROUP)
                  .size(),
              2u);
}

TEST_F(ViewerTest, CoreResourcesAreReadyAfterSetUp) {
    start();
    Ogre::OverlayManager& overlays = Ogre::OverlayManager::getSingleton();
    for (const char* element :
         {"OPCurrentFPS", "OPAverageFPS", "OPWorstFPS", "OPBestFPS", "OPTriCount", "OPDebugMsg"})
        EXPECT_TRUE(overlays.hasOverlayElement(element)) << element;

    Ogre::FontPtr font =
        Ogre::FontManager::getSingleton().getByName("TrebuchetMSBold", VIEWER_RESOURCE_GROUP);
    ASSERT_TRUE(font);
    font->load();
    EXPECT_TRUE(font->isLoaded());
    EXPECT_GT(font->getGlyphAspectRatio('A'), 0.0f);

    for (const char* name : {"MRK/FlarePoint", "MRK/Camera"}) {
        Ogre::MaterialPtr material =
            Ogre::MaterialManager::getSingleton().getByName(name, VIEWER_RESOURCE_GROUP);
        ASSERT_TRUE(material) << name;
        material->load();
        Ogre::TextureUnitState* texture =
            material->getTechnique(0)->getPass(0)->getTextureUnitState(0);
        ASSERT_NE(texture, nullptr);
        EXPECT_GT(texture->_getTexturePtr()->getWidth(), 1u) << name;
    }
    Ogre::MeshPtr axes = Ogre::MeshManager::getSingleton().load("axes.mesh", VIEWER_RESOURCE_GROUP);
    EXPECT_GT(axes->getNumSubMeshes(), 0u);
}

// The demo's own locations come before the core resources without defining anything twice,
// which would give a line for each second definition.
TEST_F(ViewerTest, TheDemoFoldersLocationsGoWithTheCoreResources) {
    viewer->addResourceLocation(CORVANE_DEMO_FOLDER "/scene", "FileSystem");
    viewer->addResourceLocation(CORVANE_DEMO_FOLDER "/media", "FileSystem");
    ::testing::internal::CaptureStderr();
    start();
    const std::string output = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(output.find("ViewerApplication::"), std::string::npos) << output;
    EXPECT_TRUE(Ogre::OverlayManager::getSingleton().hasOverlayElement("OPDebugMsg"));
    EXPECT_TRUE(Ogre::ResourceGroupManager::getSingleton().resourceExists(VIEWER_RESOURCE_GROUP,
                                                                          "demo.scene"));
    EXPECT_TRUE(
        Ogre::MaterialManager::getSingleton().resourceExists("Corvane/Box", VIEWER_RESOURCE_GROUP));
}

// A dialog standing in for the user: records that it was shown, then either cancels or
// accepts the first render system with its defaults.
class ScriptedDialog : public Ogre::ConfigDialog {
public:
    explicit ScriptedDialog(bool accept) : accept(accept) {}
    bool display() override {
        ++shown;
        if (!accept)
            return false;
        Ogre::Root& root = Ogre::Root::getSingleton();
        Ogre::RenderSystem* system = root.getAvailableRenderers().front();
        system->setConfigOption("Full Screen", "No");
        system->setConfigOption("Video Mode", "640 x 480");
        root.setRenderSystem(system);
        return true;
    }
    int shown = 0;

private:
    bool accept;
};

TEST_F(ViewerTest, WithAStoredConfigurationNoDialogIsShown) {
    ScriptedDialog dialog(false);
    viewer->setConfigDialog(&dialog);
    start();
    EXPECT_EQ(dialog.shown, 0);
}

TEST_F(ViewerTest, WithoutAConfigurationTheDialogIsShownAndCancellingStopsBeforeAnyWindow) {
    folder->remove("plugins/SceneViewer_Release/ogre.cfg");
    ScriptedDialog dialog(false);
    viewer->setConfigDialog(&dialog);
    EXPECT_FALSE(viewer->start());
    EXPECT_EQ(dialog.shown, 1);
    EXPECT_EQ(viewer->getRenderWindow(), nullptr);
    EXPECT_EQ(viewer->getSceneManager(), nullptr);
    EXPECT_EQ(CurrentDirectory::get(), folder->path());
    EXPECT_FALSE(viewer->renderFrame(0.1f));
}

TEST_F(ViewerTest, AnUnusableConfigurationGivesOneLineAndTheAcceptedDialogIsSaved) {
    const std::string file = folder->write("plugins/SceneViewer_Release/ogre.cfg",
                                           "Render System=OpenGL Rendering Subsystem\n\n"
                                           "[OpenGL Rendering Subsystem]\nColour Depth=32\n");
    ScriptedDialog dialog(true);
    viewer->setConfigDialog(&dialog);
    ::testing::internal::CaptureStderr();
    start();
    const std::string output = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(output.find("ViewerApplication::configure(): \"ogre.cfg\" is not usable: "),
              std::string::npos)
        << output;
    EXPECT_EQ(dialog.shown, 1);
    EXPECT_EQ(viewer->getWindowWidth(), 640u);
    EXPECT_NE(testing::TemporaryFolder::read(file).find("Video Mode=640 x 480"), std::string::npos);
}

TEST_F(ViewerTest, AClosedWindowEndsTheFramesWithoutRendering) {
    start();
    ASSERT_TRUE(frame(0.1f));
    Ogre::RenderWindow* window = viewer->getRenderWindow();
    const std::size_t rendered = Ogre::Root::getSingleton().getNextFrameNumber();
    ASSERT_TRUE(WindowSystem::requestClose(window));
    EXPECT_FALSE(frame(0.1f));
    EXPECT_TRUE(window->isClosed());
    EXPECT_FALSE(frame(0.1f));
    EXPECT_EQ(Ogre::Root::getSingleton().getNextFrameNumber(), rendered);
}

} // namespace
} // namespace corvane
