#pragma once

#include <memory>
#include <string>

#include <OgreMesh.h>
#include <OgreSkeleton.h>

namespace Ogre {
class DefaultHardwareBufferManager;
class Image;
class LogManager;
class Root;
} // namespace Ogre

namespace corvane::tools {

// Builds the meshes, skeletons and marker textures that the tests, benchmarks and the demo
// use, with the engine's own API, and writes them with its serializers and image codec,
// so that no binary asset lives in the repository. Runs the engine without a render system.
class MediaGenerator {
public:
    // `folder` receives the files (made when missing); `pluginFolder` holds the engine's
    // image codec plug-in.
    MediaGenerator(std::string folder, const std::string& pluginFolder);
    ~MediaGenerator();

    // Every file, in a fixed order.
    void writeAll();

    // A cube of `size` units centred on its origin.
    void writeCube(const char* mesh, const char* material, float size);
    // A 200 x 200 plane at y = 0 facing +Y.
    void writeFloor();
    // A door 10 wide, 20 tall, 1 thick, standing on its origin with its hinge along its
    // left edge; "open" (2 seconds) swings it 90 degrees about Y.
    void writeDoor();
    // The jointed figure and its skeleton.
    void writeFigure();
    // Arms 10 units long along +X (red), +Y (green) and +Z (blue), drawn unlit.
    void writeAxes();
    // "flare.png" and "camera.png".
    void writeMarkerTextures();

private:
    void save(const Ogre::MeshPtr& mesh) const;
    void save(const Ogre::SkeletonPtr& skeleton) const;
    void save(Ogre::Image& image, const std::string& file) const;
    std::string pathOf(const std::string& file) const;

    std::string folder;
    // Declared so that the root object goes first, while the buffers' manager still exists.
    std::unique_ptr<Ogre::LogManager> logManager;
    std::unique_ptr<Ogre::DefaultHardwareBufferManager> bufferManager;
    std::unique_ptr<Ogre::Root> root;
};

} // namespace corvane::tools
