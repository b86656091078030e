#pragma once

#include <OgreImage.h>

namespace corvane::tools {

// The textures of the information markers' billboards: white where drawn, so that the
// billboard's colour tints them, and transparent elsewhere.
class MarkerTextures {
public:
    // A soft round flare: full alpha in the centre, falling off evenly to none at the rim.
    static void makeFlare(Ogre::Image& image, Ogre::uint32 size);
    // A camera seen from the side: body, viewfinder and a lens with a dark glass.
    static void makeCameraIcon(Ogre::Image& image, Ogre::uint32 size);
};

} // namespace corvane::tools
