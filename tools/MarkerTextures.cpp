#include "tools/MarkerTextures.h"

#include <algorithm>
#include <cmath>

#include <OgreColourValue.h>

namespace corvane::tools {

void MarkerTextures::makeFlare(Ogre::Image& image, Ogre::uint32 size) {
    image.create(Ogre::PF_BYTE_RGBA, size, size);
    const float centre = 0.5f * static_cast<float>(size);
    for (Ogre::uint32 y = 0; y < size; ++y) {
        for (Ogre::uint32 x = 0; x < size; ++x) {
            const float dx = (static_cast<float>(x) + 0.5f - centre) / centre;
            const float dy = (static_cast<float>(y) + 0.5f - centre) / centre;
            const float falloff = std::max(0.0f, 1.0f - std::sqrt(dx * dx + dy * dy));
            image.setColourAt(Ogre::ColourValue(1, 1, 1, falloff), x, y, 0);
        }
    }
}

void MarkerTextures::makeCameraIcon(Ogre::Image& image, Ogre::uint32 size) {
    image.create(Ogre::PF_BYTE_RGBA, size, size);
    const float scale = 64.0f / static_cast<float>(size); // drawn on a 64 x 64 grid
    const float lensX = 30.0f, lensY = 38.0f;
    for (Ogre::uint32 y = 0; y < size; ++y) {
        for (Ogre::uint32 x = 0; x < size; ++x) {
            const float u = (static_cast<float>(x) + 0.5f) * scale;
            const float v = (static_cast<float>(y) + 0.5f) * scale;
            const bool body = u >= 6 && u <= 52 && v >= 22 && v <= 54;
            const bool viewfinder = u >= 14 && u <= 28 && v >= 14 && v <= 22;
            // The lens hood points to the right, widening away from the body.
            const bool hood = u > 52 && u <= 60 && std::abs(v - lensY) <= 6 + (u - 52) * 0.5f;
            const float lensDistance = std::hypot(u - lensX, v - lensY);
            Ogre::ColourValue colour(1, 1, 1, 0);
            if (body || viewfinder || hood)
                colour.a = 1;
            // A dark rim, a white ring and a dark glass.
            const Ogre::ColourValue dark(0.15f, 0.15f, 0.2f, 1);
            if (lensDistance <= 12)
                colour = dark;
            if (lensDistance <= 10.5f)
                colour = Ogre::ColourValue::White;
            if (lensDistance <= 7.5f)
                colour = dark;
            image.setColourAt(colour, x, y, 0);
        }
    }
}

} // namespace corvane::tools
