// A scene node's own animation, started by a script, plays with the playback's clock: it
// stands while paused, goes faster with the speed and a seek puts it exactly where playing
// puts it.
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <gtest/gtest.h>

#include "tests/playback/TimelineRig.h"

namespace corvane::testing {
namespace {

constexpr float STEP = 1.0f / 30.0f;

// A box that rises 10 units in 2 s when a script starts it (enable="false"), and that turns
// all the time (a looping animation the file enables), with keys relative to its node.
const char* const SCENE = R"(<scene><nodes>
  <node name="lift"><position x="5" y="0" z="-40"/>
    <animations>
      <animation name="rise" length="2" enable="false" loop="false">
        <keyframe time="0"><translation x="5" y="0" z="-40"/></keyframe>
        <keyframe time="2"><position x="5" y="10" z="-40"/></keyframe>
      </animation>
      <animation name="turn" length="4" enable="true" loop="true"
                 rotationInterpolationMode="spherical">
        <keyframe time="0"><rotation qw="1" qx="0" qy="0" qz="0"/></keyframe>
        <keyframe time="4"><rotation angle="180" anglex="0" angley="1" anglez="0"/></keyframe>
      </animation>
    </animations>
    <entity name="box" meshfile="box.mesh"/></node>
</nodes></scene>)";

const char* const SCRIPT = R"(<keyframes>
  <keyframe entity="node_lift" time="1"><animation name="rise" type="PLAY" value="1"/></keyframe>
  <keyframe entity="narrator" time="9"><animation name="end" type="STATUSTEXT"/></keyframe>
</keyframes>)";

struct Lift {
    TemporaryFolder scene;
    std::unique_ptr<TimelineRig> rig;

    Lift() {
        scene.write("lift.scene", SCENE);
        rig = std::make_unique<TimelineRig>(scene.path(), "lift.scene", SCRIPT, "");
        // Resumed in the first frame, as a user's first key does.
        rig->press("SHOW_MENU");
    }
    float height() const {
        return rig->viewer.getSceneManager()->getSceneNode("node_lift")->getPosition().y;
    }
};

TEST(NodeAnimation, RisesWithThePlaybackClockOnceTheScriptStartsIt) {
    // Half a second from a moment before its keyframe, then from one after it at each
    // speed (it rises 5 units a second) and paused, and from one past its end.
    const struct {
        const char* name;
        int before;  // frames from the start
        float speed; // from then on; 0: paused by the menu
        float rise;  // in the 15 frames that follow the change's own
    } rows[] = {
        {"before its keyframe", 4, 1, 0}, {"playing", 45, 1, 2.5f},
        {"twice as fast", 45, 2, 5},      {"paused", 45, 0, 0},
        {"past its end", 150, 1, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Lift lift;
        lift.rig->frames(row.before, STEP);
        if (row.speed == 0.0f)
            lift.rig->press("SHOW_MENU");
        else
            lift.rig->controller.setSpeed(row.speed);
        // The viewer moves the scene on the scale of the playback's frame before.
        lift.rig->frame(STEP);
        const float before = lift.height();
        lift.rig->frames(15, STEP);
        EXPECT_NEAR(lift.height() - before, row.rise, 1e-3f);
    }
    Lift lift;
    lift.rig->frames(150, STEP);
    EXPECT_EQ(lift.height(), 10.0f);
}

TEST(NodeAnimation, ASeekGivesExactlyTheStateOfPlaying) {
    std::string expected;
    float target = 0.0f;
    {
        Lift run;
        run.rig->frames(69, STEP);
        target = run.rig->controller.getTime();
        run.rig->frame(STEP);
        expected = run.rig->sceneState();
    }
    for (const int seekFrom : {20, 150}) {
        SCOPED_TRACE(seekFrom);
        Lift seek;
        seek.rig->frames(seekFrom, STEP);
        ASSERT_TRUE(seek.rig->controller.seekTo(target));
        seek.rig->frame(STEP);
        EXPECT_EQ(seek.rig->sceneState(), expected);
    }
}

} // namespace
} // namespace corvane::testing
