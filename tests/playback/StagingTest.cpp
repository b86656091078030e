// What the user interface asks of the playback for staging: the keyframes as marks, and
// the exit asked for while playing.
#include <gtest/gtest.h>

#include "tests/playback/RecordingFakes.h"

namespace corvane {
namespace {

using testing::PlaybackRig;

TEST(PlaybackStaging, MarksEveryKeyframeInTimeOrderWithItsKindAndFileLine) {
    PlaybackRig rig;
    rig.offerAll();
    rig.start(R"(<keyframes>
<keyframe entity="narrator" time="2"><animation name="hi" type="STATUSTEXT"/></keyframe>
<keyframe entity="CAMERA" time="0"/>
<keyframe entity="narrator" time="1"><animation name="door" type="PLAYSOUND"/></keyframe>
<keyframe entity="entity_door" time="1"><animation name="open" type="PLAY"/></keyframe>
</keyframes>)");
    const struct {
        float seconds;
        std::uint32_t kind;
        const char* label;
    } rows[] = {{0.0f, IPlaybackStaging::CAMERA, "0.00 s  CAMERA  keyframes.xml:3"},
                {1.0f, IPlaybackStaging::SOUND, "1.00 s  narrator  keyframes.xml:4"},
                {1.0f, IPlaybackStaging::ENTITY, "1.00 s  entity_door  keyframes.xml:5"},
                {2.0f, IPlaybackStaging::TEXT, "2.00 s  narrator  keyframes.xml:2"}};
    // Also once some of them have been played.
    for (int frames : {0, 6}) {
        rig.frames(frames, 0.25f);
        ASSERT_EQ(rig.controller.getMarkerCount(), 4u);
        for (std::uint32_t index = 0; index < 4; ++index) {
            float seconds = -1.0f;
            std::uint32_t kind = 99;
            std::string label;
            ASSERT_TRUE(rig.controller.getMarker(index, seconds, kind, label));
            EXPECT_EQ(seconds, rows[index].seconds);
            EXPECT_EQ(kind, rows[index].kind);
            EXPECT_EQ(label, rows[index].label);
        }
    }
    std::string label = "untouched";
    float seconds = 0.0f;
    std::uint32_t kind = 0;
    EXPECT_FALSE(rig.controller.getMarker(4, seconds, kind, label));
    EXPECT_EQ(label, "untouched");
}

TEST(PlaybackStaging, QTwiceWhilePlayingExitsThroughTheConfirmation) {
    PlaybackRig rig;
    rig.offerAll();
    rig.click("ZORV/EscapeMenu/Resume");
    rig.frames(1, 0.25f);
    ASSERT_FALSE(rig.controller.isMenuShown());
    // Q goes down: the user interface asks for the exit, and the key is held.
    rig.controller.requestExit();
    rig.input.values["EXIT"] = 1.0f;
    EXPECT_TRUE(rig.controller.renderFrame(0.25f));
    EXPECT_TRUE(rig.controller.isMenuShown());
    EXPECT_TRUE(rig.controller.isConfirmExitShown());
    EXPECT_EQ(rig.controller.getRate(), 0.0f);
    // Held, or pressed again within the half second, it does not end at once.
    EXPECT_TRUE(rig.controller.renderFrame(0.25f));
    EXPECT_FALSE(rig.controller.renderFrame(0.25f));

    // With the menu open the request leaves the exit to the action itself.
    PlaybackRig paused;
    paused.offerAll();
    paused.controller.requestExit();
    EXPECT_TRUE(paused.controller.renderFrame(0.25f));
    EXPECT_FALSE(paused.controller.isConfirmExitShown());
}

} // namespace
} // namespace corvane
