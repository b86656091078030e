#include "tests/viewer/ViewerFixture.h"

#include <Ogre.h>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace corvane::testing {

ViewerFolder::ViewerFolder() : current(folder.path()) {
    std::filesystem::copy(CORVANE_RUNTIME_FOLDER, folder.path(),
                          std::filesystem::copy_options::recursive);
}

std::string ViewerFolder::startDirectory() const {
    return path() + ViewerApplication::START_DIRECTORY_SUFFIX;
}

void ViewerFolder::remove(const std::string& relative) const {
    std::filesystem::remove(std::filesystem::path(path()) / relative);
}

int Pixel::brightest() const {
    return std::max({red, green, blue});
}

Pixel readPixel(Ogre::RenderWindow* window, float x, float y) {
    const std::uint32_t width = window->getWidth();
    const std::uint32_t height = window->getHeight();
    std::vector<std::uint8_t> data(std::size_t(width) * height * 4);
    const Ogre::PixelBox box(width, height, 1, Ogre::PF_BYTE_RGBA, data.data());
    window->copyContentsToMemory(Ogre::Box(0, 0, width, height), box, Ogre::RenderTarget::FB_AUTO);
    const auto column = std::min(width - 1, static_cast<std::uint32_t>(x * width));
    const auto row = std::min(height - 1, static_cast<std::uint32_t>(y * height));
    const std::uint8_t* pixel = data.data() + (std::size_t(row) * width + column) * 4;
    return {pixel[0], pixel[1], pixel[2]};
}

void addLitBox(Ogre::SceneManager* sceneManager, float x, float y, float z, float size) {
    Ogre::Entity* box = sceneManager->createEntity(Ogre::SceneManager::PT_CUBE);
    Ogre::SceneNode* node = sceneManager->getRootSceneNode()->createChildSceneNode();
    node->attachObject(box);
    node->setPosition(x, y, z);
    node->setScale(Ogre::Vector3(size / 100.0f));
    Ogre::Light* light = sceneManager->createLight();
    light->setDiffuseColour(Ogre::ColourValue::White);
    sceneManager->getRootSceneNode()->createChildSceneNode()->attachObject(light);
}

void ViewerTest::SetUp() {
    if (std::getenv("DISPLAY") == nullptr)
        GTEST_SKIP() << "needs a display (run under xvfb-run)";
    folder = std::make_unique<ViewerFolder>();
}

void ViewerTest::TearDown() {
    viewer.reset();
    folder.reset();
}

void ViewerTest::start() {
    ASSERT_TRUE(viewer->start());
    ASSERT_NE(viewer->getRenderWindow(), nullptr);
}

} // namespace corvane::testing
