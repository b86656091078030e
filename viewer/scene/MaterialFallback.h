#pragma once

#include <vector>

namespace Ogre {
class Entity;
} // namespace Ogre

namespace corvane {

class SceneReport;

// Materials none of whose techniques the render system can run (shaders in a language no
// plug-in of the engine reads, programs the graphics card does not take): the engine draws
// such a material as nothing but its default, a flat grey, and says why only in its own
// log. Each one gets one line naming the material, the entities that use it and the
// engine's reason, and is remade from the first pass of its first technique: its colours,
// lighting, blending and culling, and its first texture, which the fixed-function pipeline
// draws everywhere.
class MaterialFallback {
public:
    // Checks the materials of `entities`; only where the engine has a render system, which
    // alone can say what it supports.
    static void apply(const std::vector<Ogre::Entity*>& entities, const SceneReport& report);
};

} // namespace corvane
