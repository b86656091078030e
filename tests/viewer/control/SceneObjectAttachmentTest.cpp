#include <gtest/gtest.h>

#include <functional>

#include <OgreEntity.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <OgreTagPoint.h>

#include "tests/viewer/control/ControlTest.h"

namespace corvane::testing {
namespace {

constexpr FloatQuaternion NO_TURN{1, 0, 0, 0};
constexpr FloatVector3 NO_OFFSET{0, 0, 0};

class SceneObjectAttachment : public ControlTest {
protected:
    SceneObjectAttachment() {
        engine.sceneManager()->getSceneNode("node_door")->setPosition(50, 0, 0);
    }

    // The entity whose bone `control`'s entity hangs on; null when it hangs on no bone.
    static const Ogre::Entity* boneOwner(SceneObjectControl& control) {
        const Ogre::Entity* entity = control.getEntity();
        if (!entity->isParentTagPoint())
            return nullptr;
        return static_cast<const Ogre::TagPoint*>(entity->getParentNode())->getParentEntity();
    }
    Ogre::SceneNode* sceneNode(const std::string& name) const {
        return engine.sceneManager()->getSceneNode(name);
    }

    SceneObjectControl& door = add("door", "door.mesh");
    SceneObjectControl& figure = add("figure", "figure.mesh");
    SceneObjectControl& box = add("box", "box.mesh");
};

TEST_F(SceneObjectAttachment, AnObjectMovesFromItsSceneNodeToABoneToAnotherBoneAndBack) {
    door.attachToBone("Handle", &box, NO_TURN, FloatVector3{0, 0, 2});
    EXPECT_EQ(boneOwner(box), door.getEntity());
    EXPECT_EQ(sceneNode("node_box")->numAttachedObjects(), 0u);
    ASSERT_EQ(door.getEntity()->getAttachedObjects().size(), 1u);
    // At rest the handle is 8.5 along and 10 up from the door's origin.
    const FloatVector3 onHandle = box.getWorldPosition();
    EXPECT_NEAR(onHandle.x, 58.5f, 1e-4f);
    EXPECT_NEAR(onHandle.y, 10.0f, 1e-4f);
    EXPECT_NEAR(onHandle.z, 2.0f, 1e-4f);

    const Ogre::Quaternion turn(Ogre::Degree(90), Ogre::Vector3::UNIT_Z);
    figure.attachToBone("Hand.R", &box, FloatQuaternion{turn.w, turn.x, turn.y, turn.z}, NO_OFFSET);
    EXPECT_EQ(boneOwner(box), figure.getEntity());
    EXPECT_TRUE(door.getEntity()->getAttachedObjects().empty());
    EXPECT_TRUE(
        box.getEntity()->getParentNode()->getOrientation().equals(turn, Ogre::Degree(0.1f)));

    box.attachToSceneNode("node_box");
    EXPECT_EQ(box.getEntity()->getParentSceneNode(), sceneNode("node_box"));
    EXPECT_FALSE(box.getEntity()->isParentTagPoint());
    EXPECT_TRUE(figure.getEntity()->getAttachedObjects().empty());

    // And from one scene node to another.
    box.attachToSceneNode("node_door");
    EXPECT_EQ(box.getEntity()->getParentSceneNode(), sceneNode("node_door"));
    EXPECT_EQ(sceneNode("node_box")->numAttachedObjects(), 0u);
    EXPECT_EQ(sceneNode("node_door")->numAttachedObjects(), 2u);
}

TEST_F(SceneObjectAttachment, NodeNamesAreTakenExactlyAndAnyNodeNameIsDetachedFrom) {
    EXPECT_EQ(diagnosticsOf([&] { box.attachToSceneNode("box"); }),
              "SceneObjectControl::attachToSceneNode(): no scene node \"box\" for entity_box\n");
    EXPECT_EQ(box.getEntity()->getParentSceneNode(), sceneNode("node_box"));

    // A node whose name lacks the loader's prefix is still a scene node, not a bone.
    Ogre::SceneNode* bare = engine.sceneManager()->getRootSceneNode()->createChildSceneNode("box");
    box.attachToSceneNode("box");
    EXPECT_EQ(box.getEntity()->getParentSceneNode(), bare);
    figure.attachToBone("Head", &box, NO_TURN, NO_OFFSET);
    EXPECT_EQ(boneOwner(box), figure.getEntity());
    EXPECT_EQ(bare->numAttachedObjects(), 0u);
}

TEST_F(SceneObjectAttachment, DetachingFromABoneLeavesTheObjectHangingNowhere) {
    door.attachToBone("Handle", &box, NO_TURN, NO_OFFSET);
    EXPECT_EQ(diagnosticsOf([&] { door.detachFromBone("entity_box"); }), "");
    EXPECT_FALSE(box.getEntity()->isAttached());
    EXPECT_TRUE(door.getEntity()->getAttachedObjects().empty());

    // From nowhere it can go onto a bone or a node again.
    figure.attachToBone("Hand.L", &box, NO_TURN, NO_OFFSET);
    EXPECT_EQ(boneOwner(box), figure.getEntity());
    figure.detachFromBone("entity_box");
    box.attachToSceneNode("node_box");
    EXPECT_EQ(box.getEntity()->getParentSceneNode(), sceneNode("node_box"));
}

// Every attachment with a name that does not exist, or an object that cannot hang there:
// one line each, and every object stays where it was.
TEST_F(SceneObjectAttachment, BadAttachmentsAreReportedAndMoveNothing) {
    SceneObjectControl& walker = add("walker", "figure.mesh");
    figure.attachToBone("Hand.R", &walker, NO_TURN, NO_OFFSET);
    struct Row {
        const char* attachment;
        std::function<void()> call;
        const char* diagnostic;
    };
    const Row rows[] = {
        {"unknown bone", [&] { door.attachToBone("Hnge", &box, NO_TURN, NO_OFFSET); },
         "SceneObjectControl::attachToBone(): entity_door has no bone \"Hnge\"\n"},
        {"entity without skeleton", [&] { box.attachToBone("Handle", &door, NO_TURN, NO_OFFSET); },
         "SceneObjectControl::attachToBone(): entity_box has no bone \"Handle\"\n"},
        {"no object", [&] { door.attachToBone("Handle", nullptr, NO_TURN, NO_OFFSET); },
         "SceneObjectControl::attachToBone(): no object of this viewer to hang on bone "
         "\"Handle\" of entity_door\n"},
        {"own bone", [&] { door.attachToBone("Handle", &door, NO_TURN, NO_OFFSET); },
         "SceneObjectControl::attachToBone(): entity_door cannot hang on its own bone "
         "\"Handle\"\n"},
        {"loop", [&] { walker.attachToBone("Hand.L", &figure, NO_TURN, NO_OFFSET); },
         "SceneObjectControl::attachToBone(): entity_walker hangs on entity_figure, which "
         "cannot hang on its bone \"Hand.L\"\n"},
        {"nothing on the bones", [&] { door.detachFromBone("entity_box"); },
         "SceneObjectControl::detachFromBone(): entity_door has no object \"entity_box\" on "
         "its bones\n"},
        {"unknown node", [&] { walker.attachToSceneNode("node_nowhere"); },
         "SceneObjectControl::attachToSceneNode(): no scene node \"node_nowhere\" for "
         "entity_walker\n"},
        {"no node name", [&] { walker.attachToSceneNode(""); },
         "SceneObjectControl::attachToSceneNode(): no scene node \"\" for entity_walker\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.attachment);
        EXPECT_EQ(diagnosticsOf(row.call), row.diagnostic);
        EXPECT_EQ(door.getEntity()->getParentSceneNode(), sceneNode("node_door"));
        EXPECT_EQ(box.getEntity()->getParentSceneNode(), sceneNode("node_box"));
        EXPECT_EQ(figure.getEntity()->getParentSceneNode(), sceneNode("node_figure"));
        EXPECT_FALSE(figure.getEntity()->isParentTagPoint());
        EXPECT_EQ(boneOwner(walker), figure.getEntity());
        EXPECT_TRUE(door.getEntity()->getAttachedObjects().empty());
    }
}

} // namespace
} // namespace corvane::testing
