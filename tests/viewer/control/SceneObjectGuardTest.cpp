#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include <OgreAnimationState.h>
#include <OgreCamera.h>
#include <OgreEntity.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>

#include "tests/viewer/control/ControlTest.h"

namespace corvane::testing {
namespace {

constexpr float INF = std::numeric_limits<float>::infinity();
constexpr float NAN_ = std::numeric_limits<float>::quiet_NaN();
const FloatQuaternion ZERO_TURN{0, 0, 0, 0};
const FloatQuaternion NO_TURN{1, 0, 0, 0};

class SceneObjectGuard : public ControlTest {
protected:
    SceneObjectControl& box = add("box", "box.mesh");
    SceneObjectControl& figure = add("figure", "figure.mesh");
};

// What another plug-in or a script may hand an object, and what a frame may make of it:
// each is dropped with one line, the object keeps its place, and the engine, which aborts
// the process on NaN in its bounding boxes, never sees it.
TEST_F(SceneObjectGuard, ValuesTheEngineCannotUseAreDroppedWithOneLine) {
    // Under a node scaled far up, a finite offset takes a place beyond the range of floats.
    Ogre::SceneNode* huge = engine.addNode("huge");
    huge->setScale(1e30f, 1e30f, 1e30f);
    SceneObjectControl& crate = add("crate", "box.mesh");
    SceneObjectControl& giant = add("giant", "figure.mesh");
    for (SceneObjectControl* control : {&crate, &giant})
        huge->addChild(node(*control).getParent()->removeChild(&node(*control)));
    // A node that carries another far out along its own axes.
    SceneObjectControl& shelf = add("shelf", "box.mesh");
    static_cast<Ogre::SceneNode&>(node(shelf)).createChildSceneNode(Ogre::Vector3(3e38f, 0, 3e38f));
    struct Row {
        SceneObjectControl& object;
        std::function<void()> prepare;
        std::function<void()> call;
        std::string line;
    };
    const auto none = [] {};
    const auto at = [](const char* operation, const char* object) {
        return "SceneObjectControl::" + std::string(operation) + "(): " + object + ": ";
    };
    const std::string zero = "quaternion (0, 0, 0, 0) is not a rotation; ignored";
    const Row rows[] = {
        {box, none, [&] { box.setOrientation(ZERO_TURN); },
         at("setOrientation", "entity_box") + zero},
        {box, none,
         [&] {
             box.rotate({NAN_, 0, 0, 1});
         },
         at("rotate", "entity_box") + "quaternion (nan, 0, 0, 1) is not a rotation; ignored"},
        {box, none, [&] { box.startRotationSlerp(1.0f, NO_TURN, ZERO_TURN); },
         at("startRotationSlerp", "entity_box") + zero},
        {box, none,
         [&] {
             figure.attachToBone("Hand.R", &box, ZERO_TURN, {0, 0, 0});
         },
         at("attachToBone", "entity_figure") + zero},
        {box, none,
         [&] {
             giant.attachToBone("Hand.R", &box, NO_TURN, {1e10f, 0, 0});
         },
         at("attachToBone", "entity_giant") +
             "entity_box on bone \"Hand.R\" would be placed beyond the range of floats; ignored"},
        {box, none,
         [&] {
             box.setPosition({INF, 0, 0});
         },
         at("setPosition", "entity_box") + "vector (inf, 0, 0) is not finite; ignored"},
        {box, none,
         [&] {
             box.setVelocity({0, NAN_, 0});
         },
         at("setVelocity", "entity_box") + "vector (0, nan, 0) is not finite; ignored"},
        {box, none, [&] { box.rotateDegrees(0, -INF, 0); },
         at("rotateDegrees", "entity_box") + "angles (0, -inf, 0) are not finite; ignored"},
        {box,
         [&] {
             box.setPosition({3e38f, 0, 0});
         },
         [&] {
             box.translate({3e38f, 0, 0});
         },
         at("translate", "entity_box") + "would be placed beyond the range of floats; ignored"},
        {box,
         [&] {
             box.setPosition({3e38f, 0, 0});
             box.setVelocity({3e38f, 0, 0});
         },
         [&] { run(1, 1.0); },
         at("update", "entity_box") +
             "would be placed beyond the range of floats; movement stopped"},
        {crate, none,
         [&] {
             crate.setPosition({1e10f, 0, 0});
         },
         at("setPosition", "entity_crate") + "would be placed beyond the range of floats; ignored"},
        {shelf, none,
         [&] {
             const Ogre::Quaternion eighth(Ogre::Degree(45), Ogre::Vector3::UNIT_Y);
             shelf.rotate({eighth.w, eighth.x, eighth.y, eighth.z});
         },
         at("rotate", "entity_shelf") + "would be placed beyond the range of floats; ignored"},
        {figure, [&] { figure.setAnimationRate("Walk", 3e38); }, [&] { run(1, 10.0); },
         at("update", "entity_figure") +
             "step of animation \"Walk\" inf is not finite; animation stopped"},
        {figure, none, [&] { figure.setAnimationWeight("Walk", INF); },
         at("setAnimationWeight", "entity_figure") + "weight inf is not finite; ignored"},
        {figure, [&] { figure.setWeightSlideRate("Walk", 3e38); }, [&] { run(1, 10.0); },
         at("update", "entity_figure") +
             "weight of animation \"Walk\" inf is not finite; weight slide stopped"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        row.prepare();
        const Ogre::Vector3 position = node(row.object).getPosition();
        const Ogre::Quaternion orientation = node(row.object).getOrientation();
        EXPECT_EQ(diagnosticsOf(row.call), row.line + "\n");
        EXPECT_EQ(node(row.object).getPosition(), position);
        EXPECT_EQ(node(row.object).getOrientation(), orientation);
        expectVector(row.object.getVelocity(), 0, 0, 0);
        EXPECT_EQ(row.object.getSlerpRate(), 0.0f);
        EXPECT_EQ(diagnosticsOf([&] { run(1, 1.0); }), "");
    }
    EXPECT_EQ(state(figure, "Walk").getWeight(), 1.0f);
    // The engine derives every place and bounding box without meeting a NaN.
    Ogre::Camera* camera = engine.sceneManager()->createCamera("camera");
    engine.sceneManager()->getRootSceneNode()->attachObject(camera);
    engine.sceneManager()->_updateSceneGraph(camera);
}

// A pass over the objects checks most of them against the parent it last found unmoved;
// once a node that carries others moves, the nodes below it are derived again.
TEST_F(SceneObjectGuard, APassLooksAgainAtParentsOnceANodeCarryingOthersMoves) {
    SceneObjectControl& lamp = add("lamp", "box.mesh");
    SceneObjectControl& rack = add("rack", "box.mesh");
    SceneObjectControl& vase = add("vase", "box.mesh");
    for (SceneObjectControl* carried : {&lamp, &vase})
        node(rack).addChild(node(*carried).getParent()->removeChild(&node(*carried)));
    lamp.setVelocity({0, 1, 0});
    rack.setVelocity({1e38f, 0, 0});
    vase.setVelocity({3e38f, 0, 0});
    EXPECT_EQ(diagnosticsOf([&] { run(1, 1.0); }),
              "SceneObjectControl::update(): entity_vase: would be placed beyond the range of "
              "floats; movement stopped\n");
    expectVector(vase.getPosition(), 0, 0, 0);
    expectVector(rack.getPosition(), 1e38f, 0, 0);
}

// The engine keeps each node's place as it last derived it, and a node further up that
// moved since does not make it derive again: places are derived anew, from the top.
TEST_F(SceneObjectGuard, PlacesAreDerivedFromTheTopNotFromWhatTheEngineKept) {
    SceneObjectControl& crane = add("crane", "box.mesh");
    SceneObjectControl& hook = add("hook", "gift.mesh");
    Ogre::SceneNode* arm = static_cast<Ogre::SceneNode&>(node(crane)).createChildSceneNode();
    arm->addChild(node(hook).getParent()->removeChild(&node(hook)));
    arm->_getDerivedPosition();
    crane.setPosition({3e38f, 0, 0});
    EXPECT_EQ(diagnosticsOf([&] {
                  hook.setPosition({3e38f, 0, 0});
              }),
              "SceneObjectControl::setPosition(): entity_hook: would be placed beyond the range "
              "of floats; ignored\n");
}

TEST_F(SceneObjectGuard, TheQuaternionsOfATurnThatDoesNotRunAreNotLookedAt) {
    // A keyframe without a turn ends the one running with rate 0, whatever it turns to.
    box.startRotationSlerp(0.5f, NO_TURN, {0, 0, 1, 0});
    EXPECT_EQ(diagnosticsOf([&] { box.startRotationSlerp(0.0f, ZERO_TURN, NO_TURN); }), "");
    EXPECT_EQ(box.getSlerpRate(), 0.0f);
}

} // namespace
} // namespace corvane::testing
