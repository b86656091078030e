#pragma once

namespace Ogre {
class SceneManager;
} // namespace Ogre

namespace corvane {
class EngineLogLines;
} // namespace corvane

namespace corvane::lint {

// The textures that the materials of a scene's entities name, read as a render reads them:
// the file opened through the engine's resource groups (where ResourceReadGuard looks at it
// first) and decoded by the engine's image codecs, then let go. The engine without a render
// system loads no texture, so that a texture which is not there, too large or not decodable
// would otherwise go untold; each is told through EngineLogLines, in the viewer's words.
// Textures of one or two dimensions only: a cube map's faces are files of other names.
class SceneTextures {
public:
    static void check(Ogre::SceneManager& scene, EngineLogLines& lines);
};

} // namespace corvane::lint
