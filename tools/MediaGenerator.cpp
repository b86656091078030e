#include "tools/MediaGenerator.h"

#include <filesystem>

#include <OgreBone.h>
#include <OgreDefaultHardwareBufferManager.h>
#include <OgreImage.h>
#include <OgreLogManager.h>
#include <OgreMeshSerializer.h>
#include <OgreRoot.h>
#include <OgreSkeletonSerializer.h>

#include "tools/FigureModel.h"
#include "tools/MarkerTextures.h"
#include "tools/MeshBuilder.h"
#include "tools/SkeletonBuilder.h"

namespace corvane::tools {

namespace {

constexpr float BOX_SIZE = 10.0f;
constexpr float GIFT_SIZE = 2.4f;
constexpr float FLOOR_SIZE = 200.0f;
constexpr float FLOOR_TEXTURE_REPEAT = 20.0f;
constexpr float DOOR_WIDTH = 10.0f;
constexpr float DOOR_HEIGHT = 20.0f;
constexpr float DOOR_THICKNESS = 1.0f;
constexpr float AXIS_LENGTH = 10.0f;
constexpr float AXIS_HALF_WIDTH = 0.25f;
constexpr Ogre::uint32 MARKER_TEXTURE_SIZE = 64;

} // namespace

MediaGenerator::MediaGenerator(std::string folder, const std::string& pluginFolder)
    : folder(std::move(folder)) {
    std::filesystem::create_directories(this->folder);
    // The engine's log stays quiet: a build step prints nothing unless it fails.
    logManager = std::make_unique<Ogre::LogManager>();
    logManager->createLog("corvane_media.log", true, false, true);
    root = std::make_unique<Ogre::Root>("", "", "");
    bufferManager = std::make_unique<Ogre::DefaultHardwareBufferManager>();
    root->loadPlugin(pluginFolder + "/Codec_STBI");
}

MediaGenerator::~MediaGenerator() = default;

void MediaGenerator::writeAll() {
    writeCube("box.mesh", "Corvane/Box", BOX_SIZE);
    // Small enough to be carried in the figure's hand.
    writeCube("gift.mesh", "Corvane/Gift", GIFT_SIZE);
    writeFloor();
    writeDoor();
    writeFigure();
    writeAxes();
    writeMarkerTextures();
}

void MediaGenerator::writeCube(const char* mesh, const char* material, float size) {
    MeshBuilder builder;
    builder.beginSubMesh(material);
    const Ogre::Vector3 half(size / 2);
    builder.addBox(-half, half);
    save(builder.build(mesh));
}

void MediaGenerator::writeFloor() {
    MeshBuilder builder;
    builder.beginSubMesh("Corvane/Floor");
    const float half = FLOOR_SIZE / 2;
    builder.addQuad(Ogre::Vector3::ZERO, {half, 0, 0}, {0, 0, -half}, FLOOR_TEXTURE_REPEAT);
    save(builder.build("floor.mesh"));
}

void MediaGenerator::writeDoor() {
    // Root stays put; Hinge turns the door; Handle marks where a hand would hold it.
    SkeletonBuilder skeletonBuilder("door.skeleton");
    skeletonBuilder.addBone("Root", "", Ogre::Vector3::ZERO);
    skeletonBuilder.addBone("Hinge", "Root", Ogre::Vector3::ZERO);
    skeletonBuilder.addBone("Handle", "Hinge", {DOOR_WIDTH - 1.5f, DOOR_HEIGHT / 2, 0});
    skeletonBuilder.addAnimation("open", 2.0f);
    for (const float time : {0.0f, 1.0f, 2.0f})
        skeletonBuilder.addTurn("open", "Hinge", time, Ogre::Vector3::UNIT_Y, 45.0f * time);
    Ogre::SkeletonPtr skeleton = skeletonBuilder.finish();

    MeshBuilder builder;
    builder.beginSubMesh("Corvane/Door");
    builder.setBone(skeleton->getBone("Hinge")->getHandle());
    const float halfThickness = DOOR_THICKNESS / 2;
    builder.addBox({0, 0, -halfThickness}, {DOOR_WIDTH, DOOR_HEIGHT, halfThickness});
    // A knob on either face.
    const Ogre::Vector3 knob(DOOR_WIDTH - 1.5f, DOOR_HEIGHT / 2, 0);
    builder.addBox(knob + Ogre::Vector3(-0.4f, -0.4f, halfThickness),
                   knob + Ogre::Vector3(0.4f, 0.4f, halfThickness + 0.8f));
    builder.addBox(knob + Ogre::Vector3(-0.4f, -0.4f, -halfThickness - 0.8f),
                   knob + Ogre::Vector3(0.4f, 0.4f, -halfThickness));
    // The door sweeps a quarter circle behind its closed position when it opens.
    builder.includeInBounds(
        Ogre::AxisAlignedBox(-1.5f, 0, -DOOR_WIDTH - 0.5f, DOOR_WIDTH + 0.5f, DOOR_HEIGHT, 1.5f));
    save(builder.build("door.mesh", skeleton));
    save(skeleton);
}

void MediaGenerator::writeFigure() {
    Ogre::SkeletonPtr skeleton = FigureModel::makeSkeleton();
    save(FigureModel::makeMesh(skeleton));
    save(skeleton);
}

void MediaGenerator::writeAxes() {
    MeshBuilder builder(true);
    builder.beginSubMesh("Corvane/Axes");
    const float w = AXIS_HALF_WIDTH;
    builder.setColour(Ogre::ColourValue::Red);
    builder.addBox({0, -w, -w}, {AXIS_LENGTH, w, w});
    builder.setColour(Ogre::ColourValue::Green);
    builder.addBox({-w, 0, -w}, {w, AXIS_LENGTH, w});
    builder.setColour(Ogre::ColourValue::Blue);
    builder.addBox({-w, -w, 0}, {w, w, AXIS_LENGTH});
    save(builder.build("axes.mesh"));
}

void MediaGenerator::writeMarkerTextures() {
    Ogre::Image image;
    MarkerTextures::makeFlare(image, MARKER_TEXTURE_SIZE);
    save(image, "flare.png");
    MarkerTextures::makeCameraIcon(image, MARKER_TEXTURE_SIZE);
    save(image, "camera.png");
}

void MediaGenerator::save(const Ogre::MeshPtr& mesh) const {
    Ogre::MeshSerializer().exportMesh(mesh.get(), pathOf(mesh->getName()));
}

void MediaGenerator::save(const Ogre::SkeletonPtr& skeleton) const {
    Ogre::SkeletonSerializer().exportSkeleton(skeleton.get(), pathOf(skeleton->getName()));
}

void MediaGenerator::save(Ogre::Image& image, const std::string& file) const {
    image.save(pathOf(file));
}

std::string MediaGenerator::pathOf(const std::string& file) const {
    return (std::filesystem::path(folder) / file).string();
}

} // namespace corvane::tools
