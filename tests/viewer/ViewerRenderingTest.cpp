#include <Ogre.h>

#include "tests/support/FakeHost.h"
#include "tests/viewer/FakeOverlay.h"
#include "tests/viewer/ViewerFixture.h"

namespace corvane {
namespace {

using testing::ViewerTest;

TEST_F(ViewerTest, AnEmptySceneRendersBlack) {
    start();
    ASSERT_TRUE(frame(0.0f));
    for (const auto& [x, y] : {std::pair{0.5f, 0.5f}, {0.0f, 0.0f}, {0.99f, 0.99f}})
        EXPECT_TRUE(pixel(x, y).isBlack()) << x << "," << y;
}

TEST_F(ViewerTest, ALitBoxAheadCoversTheCentreUntilTheCameraMovesAway) {
    start();
    testing::addLitBox(viewer->getSceneManager(), 0, 0, -300, 100);
    ASSERT_TRUE(frame(0.0f));
    EXPECT_GT(pixel(0.5f, 0.5f).brightest(), 64);
    EXPECT_TRUE(pixel(0.02f, 0.02f).isBlack());

    // Sideways at 100 units per second for one second: the box is off to the left.
    ICameraControl* camera = viewer.get();
    camera->setMoveTarget({1000, 0, 0});
    camera->setLocalVelocity({100, 0, 0});
    ASSERT_TRUE(frame(1.0f));
    EXPECT_TRUE(pixel(0.5f, 0.5f).isBlack());
    EXPECT_GT(pixel(0.2f, 0.5f).brightest(), 64);
}

TEST_F(ViewerTest, EachFrameShowsTheStatisticsOfTheFramesBefore) {
    std::vector<std::string> log;
    testing::FakeOverlay overlay("A", log);
    testing::FakeHost host;
    host.add(UUID::fromFields(0x5, 0, 0, 0), &overlay);
    start();
    testing::addLitBox(viewer->getSceneManager(), 0, 0, -300, 100);
    viewer->setDebugText("loading done");
    ASSERT_TRUE(frame(0.1f));
    EXPECT_EQ(overlay.text("OPTriCount"), "Triangle Count: 0");
    ASSERT_TRUE(frame(0.1f));
    EXPECT_EQ(overlay.text("OPTriCount"), "Triangle Count: 12");
    EXPECT_EQ(overlay.text("OPCurrentFPS").rfind("Current FPS: ", 0), 0u);
    EXPECT_EQ(overlay.text("OPDebugMsg"), "loading done");
    EXPECT_EQ(host.listQueries, 1);
}

} // namespace
} // namespace corvane
