#pragma once

class TiXmlElement;

namespace Ogre {
class SceneManager;
class SceneNode;
} // namespace Ogre

namespace corvane {

class SceneReport;

// Today's exporters put particle systems on a node: a "particleSystem" element with a
// "name" and the name of a particle system template ("template"; older files say "file").
// The system is called "particle_" followed by the name, or an automatic name as the
// loader gives them. A template that does not exist (none of that name was defined, or
// its script was faulty) is one diagnostic line, and the rest of the node loads.
class SceneParticleSystem {
public:
    static void create(const TiXmlElement& element, Ogre::SceneManager& sceneManager,
                       Ogre::SceneNode& node, const SceneReport& report);
};

} // namespace corvane
