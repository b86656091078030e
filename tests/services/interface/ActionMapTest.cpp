#include <gtest/gtest.h>

#include "services/interface/ActionMap.h"

namespace corvane {
namespace {

TEST(ActionMap, DefaultKeysTriggerTheirActionsWhileDown) {
    ActionMap map;
    const struct {
        const char* key;
        const char* action;
    } rows[] = {{"Escape", "SHOW_MENU"},      {"F1", "SHOW_ABOUT"},
                {"o", "SHOW_OPTIONS"},        {"q", "EXIT"},
                {"r", "RESET_SIMULATION"},    {"5", "CAMERA_5"},
                {"Button1", "MOUSE_CLICK"},   {"Left", "SEEK_BACK"},
                {"Right", "SEEK_FORWARD"},    {"Home", "SEEK_START"},
                {"End", "SEEK_END"},          {"bracketleft", "SPEED_DOWN"},
                {"bracketright", "SPEED_UP"}, {"comma", "STEP_BACK"},
                {"period", "STEP_FORWARD"}};
    for (const auto& row : rows) {
        map.beginFrame();
        EXPECT_EQ(map.value(row.action), 0.0f) << row.action;
        map.keyDown(row.key);
        EXPECT_EQ(map.value(row.action), 1.0f) << row.action;
        map.beginFrame();
        EXPECT_EQ(map.value(row.action), 1.0f) << row.action << " held";
        map.keyUp(row.key);
        map.beginFrame();
        EXPECT_EQ(map.value(row.action), 0.0f) << row.action << " released";
    }
    EXPECT_EQ(map.value("NO_SUCH_ACTION"), 0.0f);
}

TEST(ActionMap, ATapBetweenTwoFramesCountsForOneFrame) {
    ActionMap map;
    map.beginFrame();
    map.keyDown("q");
    map.keyUp("q");
    EXPECT_EQ(map.value("EXIT"), 1.0f);
    map.beginFrame();
    EXPECT_EQ(map.value("EXIT"), 0.0f);

    map.tap("SHOW_MENU");
    EXPECT_EQ(map.value("SHOW_MENU"), 1.0f);
    map.beginFrame();
    EXPECT_EQ(map.value("SHOW_MENU"), 0.0f);
}

TEST(ActionMap, BindingsAcceptKeyNamesInEitherCaseAndRejectUnknownOnes) {
    ActionMap map;
    map.unbind("SHOW_MENU");
    EXPECT_TRUE(map.keysOf("SHOW_MENU").empty());
    EXPECT_TRUE(map.bind("SHOW_MENU", "M"));
    EXPECT_TRUE(map.bind("SHOW_MENU", "space"));
    EXPECT_TRUE(map.bind("SHOW_MENU", "Button3"));
    EXPECT_FALSE(map.bind("SHOW_MENU", "NoSuchKey"));
    EXPECT_FALSE(map.bind("SHOW_MENU", "Button9"));
    EXPECT_EQ(map.keysOf("SHOW_MENU"), (std::vector<std::string>{"Button3", "m", "space"}));
    map.keyDown("Escape");
    EXPECT_EQ(map.value("SHOW_MENU"), 0.0f);
    map.keyDown("m");
    EXPECT_EQ(map.value("SHOW_MENU"), 1.0f);
}

TEST(ActionMap, HeldActionsStayUntilReleased) {
    ActionMap map;
    map.hold("EXIT", true);
    map.beginFrame();
    EXPECT_EQ(map.value("EXIT"), 1.0f);
    map.hold("EXIT", false);
    EXPECT_EQ(map.value("EXIT"), 0.0f);
}

} // namespace
} // namespace corvane
