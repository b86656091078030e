#include "tests/viewer/ViewerFixture.h"

#include "platform/WindowSystem.h"

#include <Ogre.h>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
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

class FrameCapture : public Ogre::FrameListener {
public:
    explicit FrameCapture(Ogre::RenderWindow* window) : window(window) {}

    // Tests run side by side on one virtual screen, where the windows of other tests may
    // cover this one; the engine skips a window it was told is covered.
    bool frameStarted(const Ogre::FrameEvent&) override {
        window->setVisible(true);
        window->setActive(true);
        return true;
    }

    // Between rendering and swapping: the back buffer holds the frame just rendered.
    bool frameRenderingQueued(const Ogre::FrameEvent&) override {
        width = window->getWidth();
        height = window->getHeight();
        data.assign(std::size_t(width) * height * 4, 0);
        const Ogre::PixelBox box(width, height, 1, Ogre::PF_BYTE_RGBA, data.data());
        window->copyContentsToMemory(Ogre::Box(0, 0, width, height), box,
                                     Ogre::RenderTarget::FB_BACK);
        return true;
    }

    Pixel at(float x, float y) const {
        if (data.empty())
            return {0, 0, 0};
        const auto column = std::min(width - 1, static_cast<std::uint32_t>(x * width));
        const auto row = std::min(height - 1, static_cast<std::uint32_t>(y * height));
        const std::uint8_t* pixel = data.data() + (std::size_t(row) * width + column) * 4;
        return {pixel[0], pixel[1], pixel[2]};
    }

private:
    Ogre::RenderWindow* window;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> data;
};

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

ViewerTest::ViewerTest() = default;

ViewerTest::~ViewerTest() = default;

void ViewerTest::SetUp() {
    if (std::getenv("DISPLAY") == nullptr)
        GTEST_SKIP() << "needs a display (run under xvfb-run)";
    folder = std::make_unique<ViewerFolder>();
}

void ViewerTest::TearDown() {
    if (capture)
        Ogre::Root::getSingleton().removeFrameListener(capture.get());
    viewer.reset();
    capture.reset();
    folder.reset();
}

void ViewerTest::start() {
    ASSERT_TRUE(viewer->start());
    ASSERT_NE(viewer->getRenderWindow(), nullptr);
    // The engine renders a window once it has seen it mapped; a busy X server may tell it
    // a little later.
    Ogre::RenderWindow* window = viewer->getRenderWindow();
    for (int attempt = 0; attempt < 200 && !window->isVisible(); ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        WindowSystem::pumpMessages(window);
    }
    ASSERT_TRUE(window->isVisible());
    capture = std::make_unique<FrameCapture>(viewer->getRenderWindow());
    Ogre::Root::getSingleton().addFrameListener(capture.get());
}

Pixel ViewerTest::pixel(float x, float y) const {
    return capture ? capture->at(x, y) : Pixel{0, 0, 0};
}

} // namespace corvane::testing
