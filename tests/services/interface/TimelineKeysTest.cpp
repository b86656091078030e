#include <gtest/gtest.h>
#include <string>

#include "framework/IPlaybackTimeline.h"
#include "services/interface/ActionMap.h"
#include "services/interface/TimelineKeys.h"

namespace corvane {
namespace {

// A playback at 10 s of a 30 s script, writing what it is asked.
class RecordingTimeline final : public IPlaybackTimeline {
public:
    HRESULT QueryInterface(const UUID&, void**) override { return E_FAIL; }
    std::int32_t AddRef() override { return 1; }
    std::int32_t Release() override { return 1; }
    float getTime() override { return 10.0f; }
    float getLength() override { return 30.0f; }
    bool seekTo(float seconds) override { return asked("seekTo " + std::to_string(seconds)); }
    void setSpeed(float factor) override { asked("setSpeed " + std::to_string(factor)); }
    float getSpeed() override { return speed; }
    bool stepFrames(std::int32_t frames) override {
        return asked("stepFrames " + std::to_string(frames));
    }
    bool asked(const std::string& call) {
        calls += call + "\n";
        return true;
    }
    float speed = 1.0f;
    std::string calls;
};

// One frame of made-up input: the keys that go down, then what the timeline is asked.
std::string frame(ActionMap& map, TimelineKeys& keys, RecordingTimeline& timeline) {
    timeline.calls.clear();
    for (const std::string& action : keys.pressed(map))
        TimelineKeys::perform(action, timeline);
    map.beginFrame();
    return timeline.calls;
}

TEST(TimelineKeys, EachDefaultKeyAsksTheTimelineOnceWhenItGoesDown) {
    const struct {
        const char* key;
        const char* call;
    } rows[] = {
        {"Left", "seekTo 5.000000\n"},          {"Right", "seekTo 15.000000\n"},
        {"Home", "seekTo 0.000000\n"},          {"End", "seekTo 30.000000\n"},
        {"bracketleft", "setSpeed 0.500000\n"}, {"bracketright", "setSpeed 2.000000\n"},
        {"comma", "stepFrames -1\n"},           {"period", "stepFrames 1\n"},
    };
    for (const auto& row : rows) {
        ActionMap map;
        TimelineKeys keys;
        RecordingTimeline timeline;
        map.keyDown(row.key);
        EXPECT_EQ(frame(map, keys, timeline), row.call) << row.key;
        EXPECT_EQ(frame(map, keys, timeline), "") << row.key << " held";
        map.keyUp(row.key);
        EXPECT_EQ(frame(map, keys, timeline), "") << row.key << " released";
        map.keyDown(row.key);
        map.keyUp(row.key);
        EXPECT_EQ(frame(map, keys, timeline), row.call) << row.key << " tapped";
    }
}

TEST(TimelineKeys, RebindingMovesAnActionToAnotherKey) {
    ActionMap map;
    TimelineKeys keys;
    RecordingTimeline timeline;
    map.unbind("SEEK_BACK");
    ASSERT_TRUE(map.bind("SEEK_BACK", "j"));
    map.keyDown("Left");
    map.keyDown("j");
    EXPECT_EQ(frame(map, keys, timeline), "seekTo 5.000000\n");
}

TEST(TimelineKeys, SpeedsStepThroughQuartersToFourTimesAndStopAtTheEnds) {
    const struct {
        float speed;
        float slower;
        float faster;
    } rows[] = {{0.25f, 0.25f, 0.5f}, {0.5f, 0.25f, 1.0f}, {1.0f, 0.5f, 2.0f}, {2.0f, 1.0f, 4.0f},
                {4.0f, 2.0f, 4.0f},   {1.5f, 1.0f, 2.0f},  {8.0f, 4.0f, 4.0f}};
    for (const auto& row : rows) {
        EXPECT_EQ(TimelineKeys::nextSpeed(row.speed, false), row.slower) << row.speed;
        EXPECT_EQ(TimelineKeys::nextSpeed(row.speed, true), row.faster) << row.speed;
    }
}

TEST(TimelineKeys, TheReadoutGivesTimeAndLengthToTheHundredthAndTheFrameAtTheStep) {
    const struct {
        float time;
        float length;
        float step;
        const char* text;
    } rows[] = {{0.1f, 28.0f, 1.0f / 30.0f, "0.10 / 28.00 s   frame 3"},
                {12.533334f, 28.0f, 1.0f / 30.0f, "12.53 / 28.00 s   frame 376"},
                {2.5f, 0.0f, 0.04f, "2.50 / 0.00 s   frame 63"},
                {1.0f, 2.0f, 0.0f, "1.00 / 2.00 s   frame 0"}};
    for (const auto& row : rows)
        EXPECT_EQ(TimelineKeys::readout(row.time, row.length, row.step), row.text);
}

} // namespace
} // namespace corvane
