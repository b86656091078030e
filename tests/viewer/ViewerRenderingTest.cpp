#include <Ogre.h>

#include "framework/IGuiElement.h"
#include "framework/Identifiers.h"
#include "tests/support/FakeHost.h"
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

// An overlay service with the six statistics texts, reached through the host.
class StatisticsOverlay : public IGuiOverlay {
public:
    virtual ~StatisticsOverlay() = default;
    HRESULT QueryInterface(const UUID& iid, void** out) override {
        if (iid != IID_IGuiOverlay)
            return E_FAIL;
        *out = static_cast<IGuiOverlay*>(this);
        return S_OK;
    }
    std::int32_t AddRef() override { return 1; }
    std::int32_t Release() override { return 1; }
    IGuiElement* getElement(const std::string& name) override {
        return &texts.try_emplace(name).first->second;
    }
    void notifyPaused() override {}
    void notifyResumed() override {}

    class Text : public IGuiElement {
    public:
        virtual ~Text() = default;
        HRESULT QueryInterface(const UUID&, void**) override { return E_FAIL; }
        std::int32_t AddRef() override { return 1; }
        std::int32_t Release() override { return 1; }
        void setText(const std::string& value) override { text = value; }
        std::string getText() override { return text; }
        bool wasClicked() override { return false; }
        void show() override {}
        void hide() override {}
        bool wasCloseClicked() override { return false; }
        bool isVisible() override { return true; }
        void setPosition(float, float) override {}
        void setSize(float, float) override {}
        void setInteractive(std::uint32_t) override {}
        std::string text;
    };
    std::map<std::string, Text> texts;
};

TEST_F(ViewerTest, EachFrameShowsTheStatisticsOfTheFramesBefore) {
    StatisticsOverlay overlay;
    testing::FakeHost host;
    host.add(UUID::fromFields(0x5, 0, 0, 0), &overlay);
    start();
    testing::addLitBox(viewer->getSceneManager(), 0, 0, -300, 100);
    viewer->setDebugText("loading done");
    ASSERT_TRUE(frame(0.1f));
    EXPECT_EQ(overlay.texts["OPTriCount"].text, "Triangle Count: 0");
    ASSERT_TRUE(frame(0.1f));
    EXPECT_EQ(overlay.texts["OPTriCount"].text, "Triangle Count: 12");
    EXPECT_EQ(overlay.texts["OPCurrentFPS"].text.rfind("Current FPS: ", 0), 0u);
    EXPECT_EQ(overlay.texts["OPDebugMsg"].text, "loading done");
    EXPECT_EQ(host.listQueries, 1);
}

} // namespace
} // namespace corvane
