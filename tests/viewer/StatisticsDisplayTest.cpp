#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "tests/support/FakeHost.h"
#include "tests/viewer/FakeOverlay.h"
#include "viewer/StatisticsDisplay.h"

namespace corvane {
namespace {

using testing::FakeOverlay;

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

TEST(StatisticsDisplay, BeforeTheEnginesFirstSecondTheRatesComeFromTheFramesShown) {
    std::vector<std::string> log;
    FakeOverlay overlay("O", log);
    testing::FakeHost host;
    host.add(PLUGIN_A, &overlay);
    Ogre::RenderTarget::FrameStats unmeasured{};
    unmeasured.worstFPS = 999.0f;
    StatisticsDisplay display;
    struct Row {
        double at;
        const char* current;
        const char* average;
        const char* worst;
        const char* best;
    };
    const Row rows[] = {{10.0, "-", "-", "-", "-"},
                        {10.02, "50", "50", "50", "50"},
                        {10.06, "25", "33.3333", "25", "50"}};
    for (const Row& row : rows) {
        display.show(unmeasured, "", row.at);
        EXPECT_EQ(overlay.text("OPCurrentFPS"), std::string("Current FPS: ") + row.current);
        EXPECT_EQ(overlay.text("OPAverageFPS"), std::string("Average FPS: ") + row.average);
        EXPECT_EQ(overlay.text("OPWorstFPS"), std::string("Worst FPS: ") + row.worst);
        EXPECT_EQ(overlay.text("OPBestFPS"), std::string("Best FPS: ") + row.best);
    }
    // Once the engine has measured, its record counts.
    display.show(statistics(), "", 10.1);
    EXPECT_EQ(overlay.text("OPWorstFPS"), "Worst FPS: 0.5");
}

} // namespace
} // namespace corvane
