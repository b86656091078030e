// corvane_media_tool FOLDER: writes the generated meshes, skeletons and marker textures
// into FOLDER.
#include <cstdio>
#include <exception>

#include <OgreException.h>

#include "tools/MediaGenerator.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    try {
        corvane::tools::MediaGenerator generator(argv[1], CORVANE_OGRE_PLUGIN_DIR);
        generator.writeAll();
    } catch (const Ogre::Exception& error) {
        std::fprintf(stderr, "corvane_media_tool: %s\n", error.getFullDescription().c_str());
        return 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "corvane_media_tool: %s\n", error.what());
        return 1;
    }
    return 0;
}
