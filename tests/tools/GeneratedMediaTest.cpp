#include <gtest/gtest.h>

#include <array>
#include <vector>

#include <OgreAnimation.h>
#include <OgreBone.h>
#include <OgreEntity.h>
#include <OgreHardwareBufferManager.h>
#include <OgreImage.h>
#include <OgreMaterialManager.h>
#include <OgreMesh.h>
#include <OgreMeshManager.h>
#include <OgrePass.h>
#include <OgreRoot.h>
#include <OgreSkeleton.h>
#include <OgreSkeletonManager.h>
#include <OgreSubMesh.h>
#include <OgreTechnique.h>

#include "tools/HeadlessMediaEngine.h"

namespace corvane::testing {

using tools::HeadlessMediaEngine;
namespace {

// The vertices and triangles of one mesh, read back from its buffers, every sub-mesh's
// triangles indexing into one list.
struct Geometry {
    std::vector<Ogre::Vector3> positions;
    std::vector<Ogre::Vector3> normals;
    std::vector<Ogre::ColourValue> colours;
    std::vector<std::array<std::size_t, 3>> triangles;
    std::vector<int> boneOf; // -1 for a vertex tied to no bone

    Ogre::AxisAlignedBox extent() const {
        Ogre::AxisAlignedBox box;
        for (const Ogre::Vector3& position : positions)
            box.merge(position);
        return box;
    }
};

Geometry readGeometry(const Ogre::MeshPtr& mesh) {
    Geometry geometry;
    for (const Ogre::SubMesh* subMesh : mesh->getSubMeshes()) {
        const std::size_t first = geometry.positions.size();
        const Ogre::VertexData* data = subMesh->vertexData;
        const Ogre::VertexDeclaration* declaration = data->vertexDeclaration;
        const Ogre::VertexElement* position =
            declaration->findElementBySemantic(Ogre::VES_POSITION);
        const Ogre::VertexElement* normal = declaration->findElementBySemantic(Ogre::VES_NORMAL);
        const Ogre::VertexElement* colour = declaration->findElementBySemantic(Ogre::VES_DIFFUSE);
        const Ogre::HardwareVertexBufferSharedPtr& buffer =
            data->vertexBufferBinding->getBuffer(position->getSource());
        const auto* bytes =
            static_cast<const unsigned char*>(buffer->lock(Ogre::HardwareBuffer::HBL_READ_ONLY));
        for (std::size_t vertex = 0; vertex < data->vertexCount; ++vertex) {
            const unsigned char* base = bytes + vertex * buffer->getVertexSize();
            float* values = nullptr;
            position->baseVertexPointerToElement(const_cast<unsigned char*>(base), &values);
            geometry.positions.emplace_back(values[0], values[1], values[2]);
            normal->baseVertexPointerToElement(const_cast<unsigned char*>(base), &values);
            geometry.normals.emplace_back(values[0], values[1], values[2]);
            if (colour) {
                Ogre::uint32* packed = nullptr;
                colour->baseVertexPointerToElement(const_cast<unsigned char*>(base), &packed);
                Ogre::ColourValue value;
                value.setAsABGR(*packed);
                geometry.colours.push_back(value);
            }
            geometry.boneOf.push_back(-1);
        }
        buffer->unlock();

        const Ogre::HardwareIndexBufferSharedPtr& indices = subMesh->indexData->indexBuffer;
        EXPECT_EQ(indices->getType(), Ogre::HardwareIndexBuffer::IT_16BIT);
        const auto* index =
            static_cast<const Ogre::uint16*>(indices->lock(Ogre::HardwareBuffer::HBL_READ_ONLY));
        for (std::size_t at = 0; at + 2 < subMesh->indexData->indexCount; at += 3)
            geometry.triangles.push_back(
                {first + index[at], first + index[at + 1], first + index[at + 2]});
        indices->unlock();

        for (const auto& entry : subMesh->getBoneAssignments()) {
            EXPECT_EQ(entry.second.weight, 1.0f);
            geometry.boneOf[first + entry.second.vertexIndex] = entry.second.boneIndex;
        }
    }
    return geometry;
}

class GeneratedMedia : public ::testing::Test {
protected:
    Ogre::MeshPtr mesh(const std::string& name) {
        return Ogre::MeshManager::getSingleton().load(name, HeadlessMediaEngine::GROUP);
    }
    Ogre::SkeletonPtr skeleton(const std::string& name) {
        return Ogre::static_pointer_cast<Ogre::Skeleton>(
            Ogre::SkeletonManager::getSingleton().load(name, HeadlessMediaEngine::GROUP));
    }
    // Where `bone` is, in the skeleton's space, with `animation` at `time`.
    static Ogre::Vector3 posed(const Ogre::SkeletonPtr& skeleton, const std::string& animation,
                               float time, const std::string& bone) {
        skeleton->reset();
        skeleton->getAnimation(animation)->apply(skeleton.get(), time);
        return skeleton->getBone(bone)->_getDerivedPosition();
    }
    static void expectNear(const Ogre::Vector3& actual, const Ogre::Vector3& expected) {
        EXPECT_NEAR(actual.x, expected.x, 1e-4f) << actual;
        EXPECT_NEAR(actual.y, expected.y, 1e-4f) << actual;
        EXPECT_NEAR(actual.z, expected.z, 1e-4f) << actual;
    }

    HeadlessMediaEngine engine;
};

TEST_F(GeneratedMedia, EveryFaceIsWoundTowardsItsNormalAndEveryMeshHasItsMaterial) {
    const std::pair<const char*, const char*> meshes[] = {
        {"box.mesh", "Corvane/Box"},       {"gift.mesh", "Corvane/Gift"},
        {"floor.mesh", "Corvane/Floor"},   {"door.mesh", "Corvane/Door"},
        {"figure.mesh", "Corvane/Figure"}, {"axes.mesh", "Corvane/Axes"}};
    for (const auto& [name, material] : meshes) {
        SCOPED_TRACE(name);
        const Ogre::MeshPtr loaded = mesh(name);
        ASSERT_EQ(loaded->getNumSubMeshes(), 1u);
        EXPECT_EQ(loaded->getSubMesh(0)->getMaterialName(), material);
        const Geometry geometry = readGeometry(loaded);
        ASSERT_FALSE(geometry.triangles.empty());
        for (const auto& triangle : geometry.triangles) {
            const Ogre::Vector3& a = geometry.positions[triangle[0]];
            const Ogre::Vector3 facing = (geometry.positions[triangle[1]] - a)
                                             .crossProduct(geometry.positions[triangle[2]] - a)
                                             .normalisedCopy();
            for (const std::size_t corner : triangle)
                EXPECT_GT(facing.dotProduct(geometry.normals[corner]), 0.999f);
        }
        // The mesh's bounds hold all of its vertices.
        EXPECT_TRUE(loaded->getBounds().contains(geometry.extent()));
    }
}

TEST_F(GeneratedMedia, BoxAndFloorHaveTheirSizesAndFaceOutwards) {
    const Geometry box = readGeometry(mesh("box.mesh"));
    EXPECT_EQ(box.extent(), Ogre::AxisAlignedBox(-5, -5, -5, 5, 5, 5));
    EXPECT_EQ(box.positions.size(), 24u);
    for (std::size_t vertex = 0; vertex < box.positions.size(); ++vertex)
        EXPECT_GT(box.normals[vertex].dotProduct(box.positions[vertex]), 0.0f);

    const Geometry floor = readGeometry(mesh("floor.mesh"));
    EXPECT_EQ(floor.extent(), Ogre::AxisAlignedBox(-100, 0, -100, 100, 0, 100));
    for (const Ogre::Vector3& normal : floor.normals)
        EXPECT_EQ(normal, Ogre::Vector3::UNIT_Y);
}

TEST_F(GeneratedMedia, AxesArmsCarryTheirColours) {
    const Geometry axes = readGeometry(mesh("axes.mesh"));
    EXPECT_EQ(axes.extent().getMaximum(), Ogre::Vector3(10, 10, 10));
    ASSERT_EQ(axes.colours.size(), axes.positions.size());
    for (std::size_t vertex = 0; vertex < axes.positions.size(); ++vertex) {
        const Ogre::Vector3& at = axes.positions[vertex];
        const Ogre::ColourValue expected = at.x > 1   ? Ogre::ColourValue::Red
                                           : at.y > 1 ? Ogre::ColourValue::Green
                                           : at.z > 1 ? Ogre::ColourValue::Blue
                                                      : axes.colours[vertex];
        EXPECT_EQ(axes.colours[vertex], expected) << at;
    }
}

TEST_F(GeneratedMedia, DoorSwingsAQuarterTurnAboutItsHingeWhenOpened) {
    const Ogre::MeshPtr door = mesh("door.mesh");
    EXPECT_EQ(door->getSkeletonName(), "door.skeleton");
    const Geometry geometry = readGeometry(door);
    const Ogre::AxisAlignedBox extent = geometry.extent();
    EXPECT_EQ(extent.getMinimum().x, 0.0f);
    EXPECT_EQ(extent.getMaximum().x, 10.0f);
    EXPECT_EQ(extent.getMinimum().y, 0.0f);
    EXPECT_EQ(extent.getMaximum().y, 20.0f);

    const Ogre::SkeletonPtr bones = skeleton("door.skeleton");
    const unsigned short hinge = bones->getBone("Hinge")->getHandle();
    for (const int bone : geometry.boneOf)
        EXPECT_EQ(bone, hinge);
    EXPECT_EQ(bones->getBone("Handle")->getParent(), bones->getBone("Hinge"));
    EXPECT_EQ(bones->getBone("Hinge")->getParent(), bones->getBone("Root"));

    ASSERT_TRUE(bones->hasAnimation("open"));
    EXPECT_EQ(bones->getAnimation("open")->getLength(), 2.0f);
    expectNear(posed(bones, "open", 0.0f, "Handle"), {8.5f, 10, 0});
    const float half = 8.5f * std::sqrt(0.5f);
    expectNear(posed(bones, "open", 1.0f, "Handle"), {half, 10, -half});
    expectNear(posed(bones, "open", 2.0f, "Handle"), {0, 10, -8.5f});
}

TEST_F(GeneratedMedia, FigureIsSkinnedToItsNamedBones) {
    const Ogre::MeshPtr figure = mesh("figure.mesh");
    const Geometry geometry = readGeometry(figure);
    const Ogre::AxisAlignedBox extent = geometry.extent();
    EXPECT_EQ(extent.getMinimum().y, 0.0f);
    EXPECT_EQ(extent.getMaximum().y, 18.0f);
    // An untied vertex of a skinned mesh would collapse to the origin when animated.
    for (const int bone : geometry.boneOf)
        EXPECT_GE(bone, 0);

    const Ogre::SkeletonPtr bones = skeleton("figure.skeleton");
    for (const char* name :
         {"Root", "Spine", "Head", "Arm.L", "Arm.R", "Hand.L", "Hand.R", "Leg.L", "Leg.R"})
        EXPECT_TRUE(bones->hasBone(name)) << name;
    EXPECT_EQ(bones->getBone("Hand.R")->getParent(), bones->getBone("Arm.R"));
    // Hands hang below the shoulders, the left ones on the figure's left (+X).
    EXPECT_LT(bones->getBone("Hand.L")->_getDerivedPosition().y,
              bones->getBone("Arm.L")->_getDerivedPosition().y);
    EXPECT_GT(bones->getBone("Hand.L")->_getDerivedPosition().x, 0.0f);
    EXPECT_LT(bones->getBone("Hand.R")->_getDerivedPosition().x, 0.0f);
}

TEST_F(GeneratedMedia, FigureWalksInALoopAndWavesWithItsRightArm) {
    const Ogre::SkeletonPtr bones = skeleton("figure.skeleton");
    ASSERT_TRUE(bones->hasAnimation("Walk"));
    ASSERT_TRUE(bones->hasAnimation("Wave"));
    EXPECT_EQ(bones->getAnimation("Walk")->getLength(), 1.0f);
    EXPECT_EQ(bones->getAnimation("Wave")->getLength(), 2.0f);

    // A stride: a quarter into the walk the left foot is forward, the right one back, and
    // the left hand swings against the left leg; the loop ends where it began.
    const auto footZ = [&bones](float time, const char* leg) {
        bones->reset();
        bones->getAnimation("Walk")->apply(bones.get(), time);
        Ogre::Bone* hip = bones->getBone(leg);
        return (hip->_getDerivedOrientation() * Ogre::Vector3(0, -8, 0)).z;
    };
    EXPECT_GT(footZ(0.25f, "Leg.L"), 1.0f);
    EXPECT_LT(footZ(0.25f, "Leg.R"), -1.0f);
    EXPECT_LT(footZ(0.75f, "Leg.L"), -1.0f);
    EXPECT_LT(posed(bones, "Walk", 0.25f, "Hand.L").z, -1.0f);
    expectNear(posed(bones, "Walk", 1.0f, "Hand.R"), posed(bones, "Walk", 0.0f, "Hand.R"));

    // Mid-wave the right hand is up above the head and out to the figure's right.
    const Ogre::Vector3 head = posed(bones, "Wave", 1.0f, "Head");
    const Ogre::Vector3 hand = posed(bones, "Wave", 1.0f, "Hand.R");
    EXPECT_GT(hand.y, head.y + 3.0f);
    EXPECT_LT(hand.x, -4.0f);
    // The wave leaves the legs and the left arm alone, so that it blends with the walk.
    bones->reset();
    const Ogre::Vector3 restingFoot = bones->getBone("Leg.L")->_getDerivedPosition();
    const Ogre::Vector3 restingHand = bones->getBone("Hand.L")->_getDerivedPosition();
    for (const float time : {0.0f, 0.5f, 1.0f, 1.5f, 2.0f}) {
        expectNear(posed(bones, "Wave", time, "Leg.L"), restingFoot);
        expectNear(posed(bones, "Wave", time, "Hand.L"), restingHand);
    }
    expectNear(posed(bones, "Wave", 2.0f, "Hand.R"), posed(bones, "Wave", 0.0f, "Hand.R"));
}

TEST_F(GeneratedMedia, MeshMaterialsAreLitExceptTheAxes) {
    Ogre::MaterialManager& materials = Ogre::MaterialManager::getSingleton();
    for (const char* name :
         {"Corvane/Box", "Corvane/Gift", "Corvane/Floor", "Corvane/Door", "Corvane/Figure"}) {
        const Ogre::MaterialPtr material = materials.getByName(name, HeadlessMediaEngine::GROUP);
        ASSERT_TRUE(material) << name;
        EXPECT_TRUE(material->getTechnique(0)->getPass(0)->getLightingEnabled()) << name;
    }
    const Ogre::MaterialPtr axes = materials.getByName("Corvane/Axes", HeadlessMediaEngine::GROUP);
    ASSERT_TRUE(axes);
    EXPECT_FALSE(axes->getTechnique(0)->getPass(0)->getLightingEnabled());
}

TEST_F(GeneratedMedia, MarkerTexturesAreWhiteWithAlpha) {
    engine.root().loadPlugin(std::string(CORVANE_OGRE_PLUGIN_DIR) + "/Codec_STBI");
    Ogre::Image flare;
    flare.load("flare.png", HeadlessMediaEngine::GROUP);
    ASSERT_EQ(flare.getWidth(), 64u);
    ASSERT_EQ(flare.getHeight(), 64u);
    const Ogre::ColourValue centre = flare.getColourAt(32, 32, 0);
    EXPECT_EQ(centre.r, 1.0f);
    EXPECT_GT(centre.a, 0.9f);
    EXPECT_EQ(flare.getColourAt(0, 0, 0).a, 0.0f);
    EXPECT_LT(flare.getColourAt(48, 32, 0).a, centre.a);

    Ogre::Image camera;
    camera.load("camera.png", HeadlessMediaEngine::GROUP);
    EXPECT_EQ(camera.getWidth(), 64u);
    EXPECT_EQ(camera.getColourAt(0, 0, 0).a, 0.0f);
    EXPECT_EQ(camera.getColourAt(10, 30, 0), Ogre::ColourValue::White);
}

} // namespace
} // namespace corvane::testing
