#include <Ogre.h>
#include <OgreOverlay.h>
#include <OgreOverlayContainer.h>
#include <OgreOverlayManager.h>
#include <algorithm>

#include "framework/IFrameSource.h"
#include "tests/viewer/ViewerFixture.h"

namespace corvane {
namespace {

using testing::ViewerTest;

class OffscreenFramesTest : public ViewerTest {
protected:
    // The pixel at the given fractions of the frame drawn last, read through the interface.
    testing::Pixel at(float x, float y) {
        IFrameSource& frames = *viewer;
        const std::uint32_t width = frames.getTargetWidth();
        const std::uint32_t height = frames.getTargetHeight();
        pixels.assign(std::size_t(width) * height * 4, 0);
        if (!frames.readFrame(pixels.data(), std::size_t(width) * 4))
            return {0, 0, 0};
        const std::uint8_t* pixel =
            pixels.data() + (std::size_t(y * height) * width + std::size_t(x * width)) * 4;
        return {pixel[0], pixel[1], pixel[2]};
    }

    // A panel of plain white at the given fractions of the screen, in an overlay of its own.
    static Ogre::OverlayContainer* panel(const std::string& name, float left, float top) {
        Ogre::OverlayManager& overlays = Ogre::OverlayManager::getSingleton();
        auto* made =
            static_cast<Ogre::OverlayContainer*>(overlays.createOverlayElement("Panel", name));
        made->setMetricsMode(Ogre::GMM_RELATIVE);
        made->setPosition(left, top);
        made->setDimensions(0.2f, 0.2f);
        made->setMaterialName("BaseWhiteNoLighting");
        Ogre::Overlay* overlay = overlays.create(name + "/Overlay");
        overlay->add2D(made);
        overlay->show();
        return made;
    }

    std::vector<std::uint8_t> pixels;
};

TEST_F(OffscreenFramesTest, FramesOfTheAskedSizeShowTheSceneTheRightWayUp) {
    start();
    // A box above the middle: its light falls on the upper rows.
    testing::addLitBox(viewer->getSceneManager(), 0, 60, -300, 80);
    IFrameSource& frames = *viewer;
    EXPECT_FALSE(frames.readFrame(pixels.data(), 0));
    ASSERT_TRUE(frames.openTarget(320, 120));
    EXPECT_EQ(frames.getTargetWidth(), 320u);
    EXPECT_EQ(frames.getTargetHeight(), 120u);
    ASSERT_TRUE(frame(0.0f));
    EXPECT_GT(at(0.5f, 0.3f).brightest(), 64);
    EXPECT_TRUE(at(0.5f, 0.8f).isBlack());
    EXPECT_TRUE(at(0.02f, 0.3f).isBlack());
}

TEST_F(OffscreenFramesTest, OverlaysAreDrawnOnlyWhereAskedForAndStayAsTheyWere) {
    start();
    Ogre::OverlayContainer* kept = panel("Test/Kept", 0.1f, 0.1f);
    Ogre::OverlayContainer* dropped = panel("Test/Dropped", 0.6f, 0.6f);
    IFrameSource& frames = *viewer;
    ASSERT_TRUE(frames.openTarget(200, 200));
    ASSERT_TRUE(frame(0.0f));
    EXPECT_TRUE(at(0.2f, 0.2f).isBlack());
    frames.showOverlayElement("Test/Kept");
    ASSERT_TRUE(frame(0.0f));
    EXPECT_EQ(at(0.2f, 0.2f).brightest(), 255);
    EXPECT_TRUE(at(0.7f, 0.7f).isBlack());
    EXPECT_TRUE(kept->isVisible());
    EXPECT_TRUE(dropped->isVisible());
}

TEST_F(OffscreenFramesTest, AFrameNotDrawnMovesTheSceneAndKeepsTheFrameDrawnBefore) {
    start();
    testing::addLitBox(viewer->getSceneManager(), 0, 0, -300, 100);
    IFrameSource& frames = *viewer;
    ASSERT_TRUE(frames.openTarget(160, 90));
    ASSERT_TRUE(frame(0.0f));
    EXPECT_GT(at(0.5f, 0.5f).brightest(), 64);
    frames.setDrawing(false);
    ICameraControl* camera = viewer.get();
    camera->setMoveTarget({1000, 0, 0});
    camera->setLocalVelocity({200, 0, 0});
    ASSERT_TRUE(frame(1.0f));
    EXPECT_GT(at(0.5f, 0.5f).brightest(), 64);
    frames.setDrawing(true);
    ASSERT_TRUE(frame(0.0f));
    EXPECT_TRUE(at(0.5f, 0.5f).isBlack());
}

TEST_F(OffscreenFramesTest, ASizeTheRenderSystemCannotMakeIsOneLineAndTheWindowStays) {
    start();
    IFrameSource& frames = *viewer;
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(frames.openTarget(100000, 100000));
    const std::string lines = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(lines.rfind("ViewerApplication::openTarget(): a target of 100000x100000 cannot be "
                          "made: ",
                          0),
              0u)
        << lines;
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 1) << lines;
    EXPECT_EQ(frames.getTargetWidth(), 0u);
    EXPECT_TRUE(frame(0.0f));
}

} // namespace
} // namespace corvane
