#pragma once

namespace Ogre {
class Overlay;
}

namespace corvane {

// Sets the text areas of an overlay with spaces as wide as a typeset space, a share of the
// characters' height, instead of the engine's default, which is about two letters wide.
// Widths in relative measures follow the window's shape, so this runs again when that
// changes.
class OverlayTypesetting {
public:
    static void apply(Ogre::Overlay& overlay, float viewportWidth, float viewportHeight);

    // A space's width, as a share of the characters' height.
    static constexpr float SPACE_EM = 0.3f;
};

} // namespace corvane
