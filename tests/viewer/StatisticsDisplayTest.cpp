#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "framework/IGuiElement.h"
#include "framework/Identifiers.h"
#include "tests/support/FakeHost.h"
#include "viewer/StatisticsDisplay.h"

namespace corvane {
namespace {

// One overlay service: every text set on one of its elements is logged as
// "<service>:<element>=<text>".
class FakeOverlay : public IGuiOverlay {
public:
    FakeOverlay(std::string name, std::vector<std::string>& log, std::set<std::string> missing = {})
        : name(std::move(name)), log(log), missing(std::move(missing)) {}
    virtual ~FakeOverlay() = default;

    HRESULT QueryInterface(const UUID& iid, void** out) override {
        if (iid != IID_IGuiOverlay)
            return E_FAIL;
        *out = static_cast<IGuiOverlay*>(this);
        return S_OK;
    }
    std::int32_t AddRef() override { return 1; }
    std::int32_t Release() override { return 1; }
    IGuiElement* getElement(const std::string& element) override {
        if (missing.count(element) != 0)
            return nullptr;
        auto [entry, made] = elements.try_emplace(element, name + ":" + element, log);
        return &entry->second;
    }
    void notifyPaused() override {}
    void notifyResumed() override {}

private:
    class Element : public IGuiElement {
    public:
        Element(std::string label, std::vector<std::string>& log)
            : label(std::move(label)), log(log) {}
        virtual ~Element() = default;
        HRESULT QueryInterface(const UUID&, void**) override { return E_FAIL; }
        std::int32_t AddRef() override { return 1; }
        std::int32_t Release() override { return 1; }
        void setText(const std::string& text) override { log.push_back(label + "=" + text); }
        std::string getText() override { return {}; }
        bool wasClicked() override { return false; }
        void show() override {}
        void hide() override {}
        bool wasCloseClicked() override { return false; }
        bool isVisible() override { return true; }
        void setPosition(float, float) override {}
        void setSize(float, float) override {}
        void setInteractive(std::uint32_t) override {}

    private:
        std::string label;
        std::vector<std::string>& log;
    };

    std::string name;
    std::vector<std::string>& log;
    std::set<std::string> missing;
    std::map<std::string, Element> elements;
};

const UUID PLUGIN_A = UUID::fromFields(0xA, 0, 0, 0);
const UUID PLUGIN_B = UUID::fromFields(0xB, 0, 0, 0);
const UUID PLUGIN_C = UUID::fromFields(0xC, 0, 0, 0);

Ogre::RenderTarget::FrameStats statistics() {
    Ogre::RenderTarget::FrameStats record{};
    record.lastFPS = 60.0f;
    record.avgFPS = 59.88024f;
    record.bestFPS = 1234567.0f;
    record.worstFPS = 0.5f;
    record.triangleCount = 12345;
    return record;
}

std::vector<std::string> texts(const std::string& service, const std::string& debugText) {
    return {service + ":OPCurrentFPS=Current FPS: 60",
            service + ":OPAverageFPS=Average FPS: 59.8802",
            service + ":OPWorstFPS=Worst FPS: 0.5",
            service + ":OPBestFPS=Best FPS: 1.23457e+06",
            service + ":OPTriCount=Triangle Count: 12345",
            service + ":OPDebugMsg=" + debugText};
}

std::vector<std::string> concatenated(std::vector<std::string> first,
                                      const std::vector<std::string>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

TEST(StatisticsDisplay, EveryServiceGetsTheSixTextsInOrderTheLastFoundFirst) {
    std::vector<std::string> log;
    FakeOverlay a("A", log);
    FakeOverlay b("B", log);
    testing::FakeHost host;
    host.add(PLUGIN_A, &a);
    host.add(PLUGIN_B, &b);

    StatisticsDisplay display;
    display.show(statistics(), "Entity Hit Target");
    EXPECT_EQ(log, concatenated(texts("B", "Entity Hit Target"), texts("A", "Entity Hit Target")));

    // Bound once: the next frame asks the host nothing and writes the same way.
    log.clear();
    display.show(statistics(), "");
    EXPECT_EQ(log, concatenated(texts("B", ""), texts("A", "")));
    EXPECT_EQ(host.listQueries, 1);
    EXPECT_EQ(host.interfaceQueries, 2);
}

TEST(StatisticsDisplay, ElementsAServiceLacksAreSkipped) {
    std::vector<std::string> log;
    FakeOverlay partial("P", log, {"OPDebugMsg", "OPWorstFPS"});
    testing::FakeHost host;
    host.add(PLUGIN_A, &partial);

    StatisticsDisplay display;
    display.show(statistics(), "never shown");
    std::vector<std::string> expected = texts("P", "");
    expected.erase(expected.begin() + 5);
    expected.erase(expected.begin() + 2);
    EXPECT_EQ(log, expected);
}

TEST(StatisticsDisplay, TheHostIsAskedEveryFrameUntilAServiceIsGranted) {
    std::vector<std::string> log;
    FakeOverlay refused("R", log);
    FakeOverlay late("L", log);
    FakeOverlay later("X", log);
    testing::FakeHost host;
    host.add(PLUGIN_A, &refused);
    host.refuse(PLUGIN_A);

    StatisticsDisplay display;
    display.show(statistics(), "");
    display.show(statistics(), "");
    EXPECT_EQ(host.listQueries, 2);
    EXPECT_TRUE(log.empty());

    host.add(PLUGIN_B, &late);
    display.show(statistics(), "");
    EXPECT_EQ(log, texts("L", ""));

    // Once bound, a service that appears later is never found.
    host.add(PLUGIN_C, &later);
    log.clear();
    display.show(statistics(), "");
    EXPECT_EQ(log, texts("L", ""));
    EXPECT_EQ(host.listQueries, 3);
}

} // namespace
} // namespace corvane
