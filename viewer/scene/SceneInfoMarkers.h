#pragma once

#include <string>
#include <vector>

namespace Ogre {
class Camera;
class ColourValue;
class Entity;
class Light;
class SceneManager;
class SceneNode;
} // namespace Ogre

namespace corvane {

class MovableText;
class SceneReport;

// The information markers of a scene load: small visual aids on child nodes of the
// marked objects' nodes, each a camera-facing label with the object's name and placement,
// with axes (target nodes) or a flare (lights and cameras). The labels belong to the
// markers; the nodes, axes and billboards belong to the scene manager.
class SceneInfoMarkers {
public:
    // Lines go to `report`, which must outlive the markers.
    explicit SceneInfoMarkers(const SceneReport& report);
    ~SceneInfoMarkers();
    SceneInfoMarkers(const SceneInfoMarkers&) = delete;
    SceneInfoMarkers& operator=(const SceneInfoMarkers&) = delete;

    // A node whose name holds ".Target": axes and a two-line label.
    void markTarget(Ogre::SceneManager& scene, Ogre::SceneNode& node, const std::string& name);
    // An entity away from the world's origin: a four-line label.
    void markEntity(Ogre::Entity& entity, Ogre::SceneNode& node);
    // A light: a flare in the light's colour and a three-line label.
    void markLight(Ogre::SceneManager& scene, Ogre::SceneNode& node, const std::string& name,
                   const Ogre::ColourValue& colour);
    // A camera: a white flare and a three-line label.
    void markCamera(Ogre::SceneManager& scene, Ogre::Camera& camera, Ogre::SceneNode& node);

    // Takes every label off its node and destroys it. Once the engine has shut down the
    // nodes are gone already, and only the labels themselves are freed.
    void destroyLabels();
    const std::vector<MovableText*>& labels() const { return infoLabels; }

    // The font, character height and colour of every label.
    static const char* const FONT;
    static constexpr unsigned int CHARACTER_HEIGHT = 16;

private:
    // The label, attached to `node`, or null after a diagnostic line when the engine
    // cannot make it (the font is missing, for one): the marker's other parts stay.
    MovableText* addLabel(Ogre::SceneNode& node, const std::string& name, const std::string& text);
    // The billboard set of the marker `name`, then its info node on `node`, named after
    // `infoName`, with the set and one flare at the info node's origin; returns the info node.
    Ogre::SceneNode* addFlare(Ogre::SceneManager& scene, Ogre::SceneNode& node,
                              const std::string& infoName, const std::string& name,
                              const char* material, const Ogre::ColourValue& colour);

    const SceneReport& report;
    std::vector<MovableText*> infoLabels;
    bool labelFailureReported = false;
};

} // namespace corvane
