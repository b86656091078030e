#pragma once

#include <OgreColourValue.h>
#include <OgreQuaternion.h>
#include <OgreVector.h>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/DiagnosticSink.h"
#include "viewer/scene/EntityMaterials.h"
#include "viewer/scene/SceneInfoMarkers.h"
#include "viewer/scene/SceneReport.h"

class TiXmlDocument;
class TiXmlElement;

namespace Ogre {
class Camera;
class Entity;
class Light;
class RenderWindow;
class SceneManager;
class SceneNode;
} // namespace Ogre

namespace corvane {

// Reads a dotScene file from the viewer's resource locations into scene nodes, entities,
// lights and cameras under one root node. What it creates carries the file's names with
// the prefixes "node_", "entity_", "light_" and "camera_"; unnamed items get automatic
// names "dsl_autoname_" and a number from one counter shared by every load in the process.
class SceneLoader {
public:
    // Lines go to standard error.
    SceneLoader();
    // Lines go to `sink`, which must outlive the loader.
    explicit SceneLoader(DiagnosticSink& sink);
    ~SceneLoader();
    SceneLoader(const SceneLoader&) = delete;
    SceneLoader& operator=(const SceneLoader&) = delete;

    // What the last load made of the file's first camera: the camera, and the parts of its
    // view that the file gives. The field of view ("fov", in radians, or degrees when above
    // pi) is recorded only: the scene's cameras keep the engine's.
    struct FirstCamera {
        Ogre::Camera* camera = nullptr; // null when the file made no camera
        std::optional<float> nearClip;
        std::optional<float> farClip;
        std::optional<float> fieldOfView; // radians, vertical
    };

    // Builds the scene of the ".scene" resource `fileName` (exact, case-sensitive) of the
    // viewer's resource group, or of the resource of that name whatever it ends in (as ".xml"
    // from some exporters), in `sceneManager`, under `rootNode` or, when that is null,
    // under a new unnamed child of the scene manager's root node. `window` is accepted and
    // not used. Lists every scene resource name in the diagnostic sink, one a line.
    // True when the file was read and built; false without a scene manager, when no
    // resource has the name, when the text is no XML document with an element, or when it
    // nests deeper than the parser can take. An item whose name the engine already knows,
    // a place or size that is not finite, or anything else the engine refuses, skips that
    // item alone (a node with its children) after one diagnostic line.
    bool load(const std::string& fileName, Ogre::SceneManager* sceneManager,
              Ogre::RenderWindow* window, bool showInfo, Ogre::SceneNode* rootNode);

    // Recorded from the last load's "movement" element: -1 when it gives no speed.
    float getMovementSpeed() const { return movementSpeed; }
    bool getCameraCollide() const { return cameraCollide; }
    // The last load's background colour, for the viewport; none when the file gives none.
    const std::optional<Ogre::ColourValue>& getBackgroundColour() const { return backgroundColour; }
    // The labels of the last load's information markers.
    const std::vector<MovableText*>& getInfoLabels() const { return infoMarkers.labels(); }
    const FirstCamera& getFirstCamera() const { return firstCamera; }
    // Entities marked "static" while camera collision was on; not owned.
    const std::vector<Ogre::Entity*>& getStaticEntities() const { return staticEntities; }

    // Readers of one element's attributes. An absent number attribute reads as 0; nothing
    // is clamped or normalised.

    // True and `text` set when `element` has attribute `name` (possibly empty); false and
    // `text` untouched when it is absent.
    static bool getAttribute(const TiXmlElement* element, const char* name, std::string& text);
    // Like getAttribute, with the text read as a flag; `flag` untouched when absent.
    static bool getAttributeBool(const TiXmlElement* element, const char* name, bool& flag);
    // "r", "g", "b"; alpha is always 1. `element` must not be null.
    static Ogre::ColourValue readColour(const TiXmlElement* element);
    // "x", "y", "z"; (0, 0, 0) when `element` is null.
    static Ogre::Vector3 readPosition(const TiXmlElement* element);
    // "x", "y", "z"; (1, 1, 1) when `element` is null.
    static Ogre::Vector3 readScale(const TiXmlElement* element);
    // "x", "y", "z"; (0, 0, 1) when `element` is null.
    static Ogre::Vector3 readDirection(const TiXmlElement* element);
    // A "rotation" element: "qx", "qy", "qz", "qw"; else a direction "axisx", "axisy",
    // "axisz", turned to from (0, 0, 1); else an axis "anglex", "angley", "anglez" and
    // "angle" in degrees. The form is chosen by its first attribute being non-empty. The
    // identity when `element` is null or none of the forms is there.
    static Ogre::Quaternion readOrientation(const TiXmlElement* element);
    // Today's "quaternion" element: "x", "y", "z", "w", taken as written.
    static Ogre::Quaternion readQuaternion(const TiXmlElement* element);
    // "range", "constant", "linear", "quadratic". `element` must not be null.
    static void readAttenuation(const TiXmlElement* element, float& range, float& constant,
                                float& linear, float& quadratic);
    // "inner", "outer" (angles as written) and "falloff". `element` must not be null.
    static void readSpotlightRange(const TiXmlElement* element, float& inner, float& outer,
                                   float& falloff);

    // "dsl_autoname_" followed by the counter, which then goes up by one.
    static std::string makeAutoName();
    // The number that the next automatic name will carry.
    static std::uint32_t nextAutoNameNumber() { return autoNameCounter; }

private:
    void processEnvironment(const TiXmlElement* element);
    // "fog": "mode" (none, exp, exp2, linear), "exp_density", "linear_start", "linear_end"
    // and a "colour_diffuse" child, or today's "expDensity", "linearStart", "linearEnd",
    // "colourDiffuse"; what is absent takes the format's default.
    void processFog(const TiXmlElement* element);
    void processNodes(const TiXmlElement* element, Ogre::SceneNode* root);
    void processNode(const TiXmlElement* element, Ogre::SceneNode* parent);
    void processEntity(const TiXmlElement* element, Ogre::SceneNode* node);
    void processExternals(const TiXmlElement* element);
    void processLight(const TiXmlElement* element, Ogre::SceneNode* node);
    void processCamera(const TiXmlElement* element, Ogre::SceneNode* node);
    // Keeps the first camera with the clip distances it took and the file's field of view.
    void recordFirstCamera(const TiXmlElement* element, const FirstCamera& view);

    // Writes every scene resource name and parses the one named `fileName` into
    // `document`; false after one diagnostic line when there is none or it is no XML.
    bool parseScene(const std::string& fileName, TiXmlDocument& document);
    // The entity, or null after one diagnostic line when its mesh cannot be loaded.
    Ogre::Entity* createEntity(const std::string& entityName, const std::string& mesh, int row);
    // The node that the file names `fileName`, or null when it does not exist (yet).
    Ogre::SceneNode* findNode(const std::string& fileName) const;
    // A "rotation" element, or its today's spelling.
    static Ogre::Quaternion readRotation(const TiXmlElement* element);

    // Information markers, made only while showInfo is on.
    void createTargetMarker(Ogre::SceneNode* node, const std::string& name);
    void createEntityMarker(Ogre::Entity* entity, Ogre::SceneNode* node, const std::string& name);
    void createLightMarker(Ogre::Light* light, Ogre::SceneNode* node, const std::string& name,
                           const Ogre::ColourValue& colour);
    void createCameraMarker(Ogre::Camera* camera, Ogre::SceneNode* node);
    // Destroys the labels of the last load's markers.
    void destroyInfoLabels();

    StandardErrorSink standardError;
    DiagnosticSink* sink;
    // The running load's lines, about its file.
    SceneReport report;
    // The labels of the last load's markers, owned; destroyed at the next load.
    SceneInfoMarkers infoMarkers;
    std::vector<Ogre::Entity*> staticEntities;
    // The entities the running load made, whose materials are checked once it is done.
    std::vector<Ogre::Entity*> loadedEntities;
    Ogre::SceneNode* rootNode = nullptr;
    Ogre::SceneManager* sceneManager = nullptr;
    bool showInfo = false;
    bool cameraCollide = false;
    float movementSpeed = -1.0f;
    std::optional<Ogre::ColourValue> backgroundColour;
    FirstCamera firstCamera;
    // The material names of the meshes that loads read, to name the missing ones.
    EntityMaterials entityMaterials;

    static std::uint32_t autoNameCounter;
};

} // namespace corvane
