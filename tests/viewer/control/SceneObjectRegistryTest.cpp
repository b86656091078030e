#include <gtest/gtest.h>

#include <OgreAnimationState.h>
#include <OgreEntity.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>

#include "tests/viewer/control/ControlTest.h"

namespace corvane::testing {
namespace {

using SceneObjectRegistryTest = ControlTest;

TEST_F(SceneObjectRegistryTest, EachEntityHasOneControlMadeOnFirstLookupAtAFixedAddress) {
    Ogre::SceneManager* scene = engine.sceneManager();
    engine.addEntity("box", "box.mesh");
    engine.addEntity("door", "door.mesh");
    EXPECT_EQ(registry.size(), 0u);

    SceneObjectControl* const box = registry.find(scene, "entity_box");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->getName(), "entity_box");
    EXPECT_EQ(box->getEntity(), scene->getEntity("entity_box"));
    box->setVelocity(FloatVector3{1, 0, 0});
    EXPECT_EQ(registry.find(scene, "entity_box"), box);
    EXPECT_EQ(registry.size(), 1u);
    expectVector(registry.find(scene, "entity_box")->getVelocity(), 1, 0, 0);

    EXPECT_EQ(registry.find(scene, "box"), nullptr);
    EXPECT_EQ(registry.find(scene, "node_box"), nullptr);
    EXPECT_EQ(registry.find(nullptr, "entity_box"), nullptr);
    EXPECT_EQ(registry.size(), 1u);

    for (int more = 0; more < 50; ++more)
        registry.find(scene, engine.addEntity("box" + std::to_string(more), "box.mesh")->getName());
    SceneObjectControl* const door = registry.find(scene, "entity_door");
    EXPECT_NE(door, box);
    EXPECT_EQ(registry.size(), 52u);
    EXPECT_EQ(registry.find(scene, "entity_box"), box);
}

TEST_F(SceneObjectRegistryTest, UpdateReachesEveryControl) {
    SceneObjectControl& first = add("a", "box.mesh");
    SceneObjectControl& second = add("b", "figure.mesh");
    first.setVelocity(FloatVector3{0, 2, 0});
    second.setAnimationRate("Walk", 1.0);
    registry.update(0.25);
    expectVector(first.getPosition(), 0, 0.5f, 0);
    EXPECT_EQ(second.getEntity()->getAnimationState("Walk")->getTimePosition(), 0.25f);
}

TEST_F(SceneObjectRegistryTest, AControlOutlivesItsDestroyedEntityAndTakesOverItsSuccessor) {
    Ogre::SceneManager* scene = engine.sceneManager();
    SceneObjectControl& door = add("door", "door.mesh");
    door.setAnimationRate("open", 1.0);
    door.setVelocity(FloatVector3{1, 0, 0});
    scene->destroyEntity("entity_door");

    EXPECT_EQ(door.getEntity(), nullptr);
    EXPECT_EQ(registry.find(scene, "entity_door"), nullptr);
    EXPECT_EQ(registry.size(), 1u);
    EXPECT_EQ(diagnosticsOf([&] { registry.update(0.5); }), "");
    EXPECT_EQ(diagnosticsOf([&] { door.setAnimationWeight("open", 0.5); }),
              "SceneObjectControl::setAnimationWeight(): entity_door no longer exists\n");
    EXPECT_EQ(diagnosticsOf([&] { door.getPosition(); }),
              "SceneObjectControl::getPosition(): entity_door no longer exists\n");
    EXPECT_EQ(door.getName(), "entity_door");

    // A new entity under the same name: the same control, with what was stored.
    Ogre::Entity* successor =
        scene->createEntity("entity_door", "door.mesh", HeadlessMediaEngine::GROUP);
    scene->getSceneNode("node_door")->attachObject(successor);
    EXPECT_EQ(registry.find(scene, "entity_door"), &door);
    EXPECT_EQ(door.getEntity(), successor);
    registry.update(0.5);
    EXPECT_EQ(successor->getAnimationState("open")->getTimePosition(), 0.5f);
    expectVector(door.getPosition(), 0.5f, 0, 0);
}

} // namespace
} // namespace corvane::testing
