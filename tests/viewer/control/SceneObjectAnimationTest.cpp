#include <gtest/gtest.h>

#include <functional>

#include <OgreAnimationState.h>

#include "tests/viewer/control/ControlTest.h"

namespace corvane::testing {
namespace {

using Rates = std::map<std::string, float>;

class SceneObjectAnimation : public ControlTest {
protected:
    SceneObjectControl& figure = add("figure", "figure.mesh");
    Ogre::AnimationState& walk = state(figure, "Walk");
    Ogre::AnimationState& wave = state(figure, "Wave");
};

TEST_F(SceneObjectAnimation, RatesAreStoredZeroIncludedAndDroppedByASecondZero) {
    EXPECT_FALSE(wave.getEnabled());
    figure.setAnimationRate("Wave", 0.0);
    EXPECT_TRUE(wave.getEnabled());
    EXPECT_EQ(figure.getAnimationRates(), (Rates{{"Wave", 0.0f}}));
    run(3, 0.5);
    EXPECT_EQ(wave.getTimePosition(), 0.0f);

    figure.setAnimationRate("Wave", 0.0);
    EXPECT_TRUE(figure.getAnimationRates().empty());
    EXPECT_TRUE(wave.getEnabled());

    figure.setAnimationRate("Wave", 1.0);
    figure.setAnimationRate("Wave", 2.0);
    figure.setAnimationRate("Walk", 0.5);
    EXPECT_EQ(figure.getAnimationRates(), (Rates{{"Walk", 0.5f}, {"Wave", 2.0f}}));
    run(1, 0.25);
    EXPECT_EQ(wave.getTimePosition(), 0.5f);
    EXPECT_EQ(walk.getTimePosition(), 0.125f);
}

TEST_F(SceneObjectAnimation, StopTimesBelowZeroRemoveAndZeroIsAStopTime) {
    figure.setAnimationStopTime("Wave", -1.0);
    EXPECT_TRUE(figure.getAnimationStopTimes().empty());
    figure.setAnimationStopTime("Wave", 0.0);
    EXPECT_EQ(figure.getAnimationStopTimes(), (Rates{{"Wave", 0.0f}}));
    figure.setAnimationStopTime("Wave", 1.25);
    EXPECT_EQ(figure.getAnimationStopTimes(), (Rates{{"Wave", 1.25f}}));
    figure.setAnimationStopTime("Wave", -0.001);
    EXPECT_TRUE(figure.getAnimationStopTimes().empty());
}

TEST_F(SceneObjectAnimation, StoppingDisablesAndDropsTheRateButTheStopTimeStaysInForce) {
    wave.setLoop(false);
    figure.setAnimationStopTime("Wave", 1.0);
    figure.setAnimationRate("Wave", 1.0);
    run(1, 0.5);
    figure.stopAnimation("Wave");
    EXPECT_FALSE(wave.getEnabled());
    EXPECT_TRUE(figure.getAnimationRates().empty());
    EXPECT_EQ(figure.getAnimationStopTimes(), (Rates{{"Wave", 1.0f}}));
    run(2, 0.5);
    EXPECT_EQ(wave.getTimePosition(), 0.5f);

    figure.setAnimationRate("Wave", 1.0);
    run(2, 0.4);
    EXPECT_EQ(wave.getTimePosition(), 1.0f);
    EXPECT_EQ(figure.getAnimationRates(), (Rates{{"Wave", 0.0f}}));
}

TEST_F(SceneObjectAnimation, ASumEqualToTheStopTimeDoesNotReachIt) {
    figure.setAnimationLoop("Wave", false);
    figure.setAnimationRate("Wave", 2.0);
    figure.setAnimationStopTime("Wave", 1.5);
    for (const float expected : {0.5f, 1.0f, 1.5f}) {
        run(1, 0.25);
        EXPECT_EQ(wave.getTimePosition(), expected);
        EXPECT_EQ(figure.getAnimationRates().at("Wave"), 2.0f);
    }
    run(1, 0.25);
    EXPECT_EQ(wave.getTimePosition(), 1.5f);
    EXPECT_EQ(figure.getAnimationRates(), (Rates{{"Wave", 0.0f}}));
    EXPECT_TRUE(figure.getAnimationStopTimes().empty());
    // Reaching the stop leaves the animation enabled and its loop flag as it was.
    EXPECT_TRUE(wave.getEnabled());
    EXPECT_FALSE(wave.getLoop());
    run(2, 0.25);
    EXPECT_EQ(wave.getTimePosition(), 1.5f);
}

TEST_F(SceneObjectAnimation, AStopIsTestedOnThePlainSumBeforeWrappingOrClamping) {
    // Walk loops: 0.75 + 0.5 would wrap to 0.25, below the stop, yet the sum is past it.
    walk.setTimePosition(0.75f);
    figure.setAnimationRate("Walk", 1.0);
    figure.setAnimationStopTime("Walk", 0.9);
    run(1, 0.5);
    EXPECT_EQ(walk.getTimePosition(), 0.9f);

    // Without a stop time the state wraps a looping animation and clamps another.
    figure.setAnimationRate("Walk", 1.0);
    walk.setTimePosition(0.75f);
    wave.setLoop(false);
    wave.setTimePosition(1.75f);
    figure.setAnimationRate("Wave", 1.0);
    run(1, 0.5);
    EXPECT_EQ(walk.getTimePosition(), 0.25f);
    EXPECT_EQ(wave.getTimePosition(), 2.0f);
}

TEST_F(SceneObjectAnimation, APositionBeyondTheStopJumpsBackAndNegativeRatesStopBelowIt) {
    wave.setLoop(false);
    wave.setTimePosition(1.8f);
    figure.setAnimationStopTime("Wave", 1.0);
    figure.setAnimationRate("Wave", 1.0);
    run(1, 0.1);
    EXPECT_EQ(wave.getTimePosition(), 1.0f);

    // Backwards from 1 towards stop 0 in half seconds: 0.5, then 0 (equal, not reached),
    // then below 0 reaches it.
    figure.setAnimationStopTime("Wave", 0.0);
    figure.setAnimationRate("Wave", -1.0);
    run(2, 0.5);
    EXPECT_EQ(wave.getTimePosition(), 0.0f);
    EXPECT_EQ(figure.getAnimationRates().at("Wave"), -1.0f);
    run(1, 0.5);
    EXPECT_EQ(wave.getTimePosition(), 0.0f);
    EXPECT_EQ(figure.getAnimationRates().at("Wave"), 0.0f);
    EXPECT_TRUE(figure.getAnimationStopTimes().empty());

    wave.setTimePosition(0.25f);
    figure.setAnimationRate("Wave", -1.0);
    figure.setAnimationStopTime("Wave", 0.0);
    run(1, 0.5);
    EXPECT_EQ(wave.getTimePosition(), 0.0f);
    EXPECT_EQ(figure.getAnimationRates().at("Wave"), 0.0f);
}

TEST_F(SceneObjectAnimation, WeightSlidesRunUnboundedWithoutATargetAndStopAtOne) {
    figure.setAnimationWeight("Wave", 0.8);
    figure.setWeightSlideRate("Wave", 0.5);
    run(1, 0.5);
    EXPECT_FLOAT_EQ(wave.getWeight(), 1.05f);
    run(1, 0.5);
    EXPECT_FLOAT_EQ(wave.getWeight(), 1.3f);

    // Falling to target 0 from 0.25 in half seconds: -0.25 is not above 0.
    figure.setAnimationWeight("Walk", 0.25);
    figure.setWeightSlideTarget("Walk", 0.0);
    figure.setWeightSlideRate("Walk", -1.0);
    run(1, 0.5);
    EXPECT_EQ(walk.getWeight(), 0.0f);
    EXPECT_EQ(figure.getWeightSlideRates().at("Walk"), 0.0f);
    EXPECT_EQ(figure.getWeightTargets(), (Rates{{"Walk", 0.0f}}));

    // The ended slide keeps its entry: a weight set above the target drops to it again.
    figure.setAnimationWeight("Walk", 0.5);
    run(1, 0.5);
    EXPECT_EQ(walk.getWeight(), 0.0f);
}

TEST_F(SceneObjectAnimation, ARisingSlideReachesItsTargetOnlyWhenTheNewWeightIsNotBelowIt) {
    figure.setAnimationWeight("Wave", 0.25);
    figure.setWeightSlideTarget("Wave", 1.0);
    figure.setWeightSlideRate("Wave", 0.5);
    run(1, 0.5);
    EXPECT_EQ(wave.getWeight(), 0.5f);
    run(1, 0.5);
    EXPECT_EQ(wave.getWeight(), 0.75f);
    EXPECT_EQ(figure.getWeightSlideRates().at("Wave"), 0.5f);
    run(1, 0.5);
    EXPECT_EQ(wave.getWeight(), 1.0f);
    EXPECT_EQ(figure.getWeightSlideRates().at("Wave"), 0.0f);

    // Rate 0 ends the slide; the target stays and bounds the next slide.
    figure.setWeightSlideRate("Wave", 0.0);
    EXPECT_TRUE(figure.getWeightSlideRates().empty());
    figure.setAnimationWeight("Wave", 0.9);
    figure.setWeightSlideRate("Wave", 2.0);
    run(1, 0.5);
    EXPECT_EQ(wave.getWeight(), 1.0f);
}

TEST_F(SceneObjectAnimation, CrossFadeFromWalkToWave) {
    figure.setAnimationRate("Walk", 1.0);
    figure.setAnimationRate("Wave", 1.0);
    figure.setAnimationWeight("Walk", 1.0);
    figure.setAnimationWeight("Wave", 0.0);
    figure.setWeightSlideTarget("Walk", 0.0);
    figure.setWeightSlideTarget("Wave", 1.0);
    figure.setWeightSlideRate("Walk", -2.0);
    figure.setWeightSlideRate("Wave", 2.0);
    run(1, 0.25);
    EXPECT_EQ(walk.getWeight(), 0.5f);
    EXPECT_EQ(wave.getWeight(), 0.5f);
    run(1, 0.25);
    EXPECT_EQ(walk.getWeight(), 0.0f);
    EXPECT_EQ(wave.getWeight(), 1.0f);
    EXPECT_EQ(figure.getWeightSlideRates(), (Rates{{"Walk", 0.0f}, {"Wave", 0.0f}}));
    EXPECT_EQ(walk.getTimePosition(), 0.5f);
    EXPECT_EQ(wave.getTimePosition(), 0.5f);
}

// Every animation operation with a name that the entity does not know: one line, nothing
// stored, no state touched.
TEST_F(SceneObjectAnimation, UnknownAnimationNamesAreReportedAndChangeNothing) {
    SceneObjectControl& box = add("box", "box.mesh");
    struct Row {
        const char* operation;
        std::function<void()> call;
        const char* diagnostic;
    };
    const Row rows[] = {
        {"rate", [&] { figure.setAnimationRate("wlak", 1.0); },
         "SceneObjectControl::setAnimationRate(): entity_figure has no animation \"wlak\"\n"},
        {"stop time", [&] { figure.setAnimationStopTime("wlak", 1.0); },
         "SceneObjectControl::setAnimationStopTime(): entity_figure has no animation \"wlak\"\n"},
        {"stop", [&] { figure.stopAnimation("wlak"); },
         "SceneObjectControl::stopAnimation(): entity_figure has no animation \"wlak\"\n"},
        {"enabled", [&] { figure.setAnimationEnabled("walk", true); },
         "SceneObjectControl::setAnimationEnabled(): entity_figure has no animation \"walk\"\n"},
        {"loop", [&] { figure.setAnimationLoop("", false); },
         "SceneObjectControl::setAnimationLoop(): entity_figure has no animation \"\"\n"},
        {"weight", [&] { figure.setAnimationWeight("Wave ", 0.5); },
         "SceneObjectControl::setAnimationWeight(): entity_figure has no animation \"Wave \"\n"},
        {"slide rate", [&] { figure.setWeightSlideRate("wlak", 1.0); },
         "SceneObjectControl::setWeightSlideRate(): entity_figure has no animation \"wlak\"\n"},
        {"slide target", [&] { figure.setWeightSlideTarget("wlak", 1.0); },
         "SceneObjectControl::setWeightSlideTarget(): entity_figure has no animation \"wlak\"\n"},
        {"time position", [&] { figure.setAnimationTimePosition("wlak", 0.5); },
         "SceneObjectControl::setAnimationTimePosition(): entity_figure has no animation "
         "\"wlak\"\n"},
        {"entity without skeleton", [&] { box.setAnimationRate("Walk", 1.0); },
         "SceneObjectControl::setAnimationRate(): entity_box has no animation \"Walk\"\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.operation);
        EXPECT_EQ(diagnosticsOf(row.call), row.diagnostic);
    }
    for (const SceneObjectControl* control : {&figure, &box}) {
        EXPECT_TRUE(control->getAnimationRates().empty());
        EXPECT_TRUE(control->getAnimationStopTimes().empty());
        EXPECT_TRUE(control->getWeightSlideRates().empty());
        EXPECT_TRUE(control->getWeightTargets().empty());
    }
    for (Ogre::AnimationState* known : {&walk, &wave}) {
        EXPECT_FALSE(known->getEnabled());
        EXPECT_TRUE(known->getLoop());
        EXPECT_EQ(known->getWeight(), 1.0f);
        EXPECT_EQ(known->getTimePosition(), 0.0f);
    }
    EXPECT_EQ(diagnosticsOf([&] { run(1, 0.5); }), "");
}

} // namespace
} // namespace corvane::testing
