#pragma once

#include <memory>

namespace Ogre {
class DefaultHardwareBufferManager;
class LogManager;
class Root;
} // namespace Ogre

namespace corvane::tools {

// What the engine needs in place of a render system: buffers in memory and textures that
// load nothing, so that meshes, skeletons, materials (textured ones too) and scenes work
// without a window. Made for one root object; must outlive it, since the engine lets go of
// its textures and buffers only while the root object goes.
class HeadlessRendering {
public:
    HeadlessRendering();
    ~HeadlessRendering();
    HeadlessRendering(const HeadlessRendering&) = delete;
    HeadlessRendering& operator=(const HeadlessRendering&) = delete;

    // A root object without a render system, with these stand-ins installed and the
    // material manager ready. Makes a quiet log first when there is none.
    std::unique_ptr<Ogre::Root> makeRoot();

private:
    class TextureStandIn;

    std::unique_ptr<Ogre::LogManager> logManager;
    std::unique_ptr<Ogre::DefaultHardwareBufferManager> bufferManager;
    std::unique_ptr<TextureStandIn> textures;
};

} // namespace corvane::tools
