#include "viewer/scene/SceneLoader.h"

#include <OgreCamera.h>
#include <OgreEntity.h>
#include <OgreLight.h>
#include <OgreMath.h>
#include <OgreResourceGroupManager.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <OgreStringConverter.h>
#include <cmath>
#include <cstring>
#include <set>
#include <tinyxml.h>

#include "platform/DebugOutput.h"
#include "viewer/ResourceGroup.h"
#include "viewer/scene/AttachedPlacement.h"
#include "viewer/scene/RealReader.h"
#include "viewer/scene/SceneSpellings.h"

namespace corvane {

std::uint32_t SceneLoader::autoNameCounter = 0;

namespace {

bool same(const char* a, const char* b) {
    return std::strcmp(a, b) == 0;
}

bool isEmpty(const char* text) {
    return text == nullptr || *text == '\0';
}

float number(const TiXmlElement* element, const char* name) {
    return RealReader::parse(element->Attribute(name));
}

Ogre::Vector3 readVector(const TiXmlElement* element, const Ogre::Vector3& absent) {
    if (element == nullptr)
        return absent;
    const float x = number(element, "x");
    const float y = number(element, "y");
    const float z = number(element, "z");
    return Ogre::Vector3(x, y, z);
}

// The engine's texts may hold line feeds; a diagnostic is one line.
std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r')
            c = ' ';
    return text;
}

// rootNode and sceneManager belong to one running load, also when the engine's exception
// ends it.
class LoadScope {
public:
    LoadScope(Ogre::SceneNode*& rootNode, Ogre::SceneManager*& sceneManager)
        : rootNode(rootNode), sceneManager(sceneManager) {}
    ~LoadScope() {
        rootNode = nullptr;
        sceneManager = nullptr;
    }
    LoadScope(const LoadScope&) = delete;
    LoadScope& operator=(const LoadScope&) = delete;

private:
    Ogre::SceneNode*& rootNode;
    Ogre::SceneManager*& sceneManager;
};

} // namespace

SceneLoader::SceneLoader() = default;

SceneLoader::~SceneLoader() {
    destroyInfoLabels();
}

bool SceneLoader::getAttribute(const TiXmlElement* element, const char* name, std::string& text) {
    const char* value = element->Attribute(name);
    if (value == nullptr)
        return false;
    text = value;
    return true;
}

bool SceneLoader::getAttributeBool(const TiXmlElement* element, const char* name, bool& flag) {
    std::string text;
    if (!getAttribute(element, name, text))
        return false;
    flag = Ogre::StringConverter::parseBool(text);
    return true;
}

Ogre::ColourValue SceneLoader::readColour(const TiXmlElement* element) {
    const float r = number(element, "r");
    const float g = number(element, "g");
    const float b = number(element, "b");
    return Ogre::ColourValue(r, g, b, 1.0f);
}

Ogre::Vector3 SceneLoader::readPosition(const TiXmlElement* element) {
    return readVector(element, Ogre::Vector3::ZERO);
}

Ogre::Vector3 SceneLoader::readScale(const TiXmlElement* element) {
    return readVector(element, Ogre::Vector3::UNIT_SCALE);
}

Ogre::Vector3 SceneLoader::readDirection(const TiXmlElement* element) {
    return readVector(element, Ogre::Vector3::UNIT_Z);
}

Ogre::Quaternion SceneLoader::readOrientation(const TiXmlElement* element) {
    if (element == nullptr)
        return Ogre::Quaternion::IDENTITY;
    if (!isEmpty(element->Attribute("qx"))) {
        const float x = number(element, "qx");
        const float y = number(element, "qy");
        const float z = number(element, "qz");
        const float w = number(element, "qw");
        return Ogre::Quaternion(w, x, y, z);
    }
    if (!isEmpty(element->Attribute("axisx"))) {
        const float x = number(element, "axisx");
        const float y = number(element, "axisy");
        const float z = number(element, "axisz");
        // One vector gives a direction: the orientation turns the file's default
        // direction (0, 0, 1) onto it. A vector without a direction turns nothing.
        const Ogre::Vector3 direction(x, y, z);
        if (direction.isNaN() || direction.squaredLength() <= 0.0f ||
            !std::isfinite(direction.squaredLength()))
            return Ogre::Quaternion::IDENTITY;
        return Ogre::Vector3::UNIT_Z.getRotationTo(direction);
    }
    if (!isEmpty(element->Attribute("anglex"))) {
        const float x = number(element, "anglex");
        const float y = number(element, "angley");
        const float z = number(element, "anglez");
        const float degrees = number(element, "angle");
        Ogre::Quaternion orientation;
        orientation.FromAngleAxis(Ogre::Radian(Ogre::Math::DegreesToRadians(degrees)),
                                  Ogre::Vector3(x, y, z));
        return orientation;
    }
    return Ogre::Quaternion::IDENTITY;
}

Ogre::Quaternion SceneLoader::readQuaternion(const TiXmlElement* element) {
    const float x = number(element, "x");
    const float y = number(element, "y");
    const float z = number(element, "z");
    const float w = number(element, "w");
    return Ogre::Quaternion(w, x, y, z);
}

void SceneLoader::readAttenuation(const TiXmlElement* element, float& range, float& constant,
                                  float& linear, float& quadratic) {
    range = number(element, "range");
    constant = number(element, "constant");
    linear = number(element, "linear");
    quadratic = number(element, "quadratic");
}

void SceneLoader::readSpotlightRange(const TiXmlElement* element, float& inner, float& outer,
                                     float& falloff) {
    inner = number(element, "inner");
    outer = number(element, "outer");
    falloff = number(element, "falloff");
}

std::string SceneLoader::makeAutoName() {
    return "dsl_autoname_" + std::to_string(autoNameCounter++);
}

bool SceneLoader::load(const std::string& fileName, Ogre::SceneManager* manager,
                       Ogre::RenderWindow*, bool withInfo, Ogre::SceneNode* root) {
    if (manager == nullptr)
        return false;
    destroyInfoLabels();
    staticEntities.clear();
    showInfo = withInfo;
    cameraCollide = false;
    movementSpeed = -1.0f;

    LoadScope scope(rootNode, sceneManager);
    sceneManager = manager;
    rootNode = root != nullptr ? root
                               : manager->getRootSceneNode()->createChildSceneNode(
                                     Ogre::Vector3::ZERO, Ogre::Quaternion::IDENTITY);
    if (rootNode == nullptr)
        return false;

    TiXmlDocument document;
    if (!parseScene(fileName, document))
        return false;
    const TiXmlElement* scene = document.FirstChildElement();
    if (scene == nullptr) {
        DebugOutput::line("SceneLoader::load(): " + fileName + " has no scene element");
        return false;
    }
    // The sections are built in this order whatever their order in the file.
    if (const TiXmlElement* environment = scene->FirstChildElement("environment"))
        processEnvironment(environment);
    if (const TiXmlElement* nodes = scene->FirstChildElement("nodes"))
        processNodes(nodes, rootNode);
    if (const TiXmlElement* externals = scene->FirstChildElement("externals"))
        processExternals(externals);
    return true;
}

bool SceneLoader::parseScene(const std::string& fileName, TiXmlDocument& document) {
    Ogre::ResourceGroupManager& resources = Ogre::ResourceGroupManager::getSingleton();
    std::set<std::string> names;
    if (resources.resourceGroupExists(VIEWER_RESOURCE_GROUP)) {
        const Ogre::StringVectorPtr found =
            resources.findResourceNames(VIEWER_RESOURCE_GROUP, "*.scene");
        names.insert(found->begin(), found->end());
    }
    bool parsed = false;
    for (const std::string& name : names) {
        DebugOutput::write(name);
        DebugOutput::write("\n");
        if (name != fileName)
            continue;
        std::string text;
        try {
            text = resources.openResource(name, VIEWER_RESOURCE_GROUP)->getAsString();
        } catch (const Ogre::Exception& error) {
            DebugOutput::line("SceneLoader::load(): cannot read " + name + ": " +
                              oneLine(error.getDescription()));
            return false;
        }
        document.Parse(text.c_str());
        if (document.Error()) {
            DebugOutput::line("SceneLoader::load(): cannot parse " + name + ": " +
                              oneLine(document.ErrorDesc()) + " (row " +
                              std::to_string(document.ErrorRow()) + ", column " +
                              std::to_string(document.ErrorCol()) + ")");
            return false;
        }
        parsed = true;
    }
    if (!parsed)
        DebugOutput::line("SceneLoader::load(): there is no scene resource named \"" + fileName +
                          "\"");
    return parsed;
}

void SceneLoader::processEnvironment(const TiXmlElement* element) {
    Ogre::ColourValue ambient = Ogre::ColourValue::Black;
    if (const TiXmlElement* colour = SceneSpellings::child(element, "colour_ambient"))
        ambient = readColour(colour);
    // The background colour is read and has no effect here: the loader has no viewport.
    if (const TiXmlElement* colour = SceneSpellings::child(element, "colour_background"))
        static_cast<void>(readColour(colour));
    if (const TiXmlElement* movement = element->FirstChildElement("movement")) {
        movementSpeed = number(movement, "speed");
        if (!getAttributeBool(movement, "camera_collide", cameraCollide))
            cameraCollide = false;
    }
    sceneManager->setAmbientLight(ambient);
}

void SceneLoader::processNodes(const TiXmlElement* element, Ogre::SceneNode* root) {
    const char* rotation = SceneSpellings::childName(element, "rotation");
    for (const TiXmlElement* child = element->FirstChildElement(); child != nullptr;
         child = child->NextSiblingElement()) {
        const char* kind = child->Value();
        if (same(kind, "position")) {
            root->setPosition(readPosition(child));
            root->setInitialState();
        } else if (same(kind, rotation)) {
            root->setOrientation(readRotation(child));
            root->setInitialState();
        } else if (same(kind, "scale")) {
            root->setScale(readScale(child));
            root->setInitialState();
        } else if (same(kind, "node")) {
            processNode(child, root);
        }
    }
}

void SceneLoader::processNode(const TiXmlElement* element, Ogre::SceneNode* parent) {
    std::string name;
    if (!getAttribute(element, "name", name))
        name = makeAutoName();
    Ogre::SceneNode* node = parent->createChildSceneNode("node_" + name, Ogre::Vector3::ZERO,
                                                         Ogre::Quaternion::IDENTITY);

    // The node's own transform is complete before its objects are made, and all its
    // objects are made before its child nodes; a later element overrides an earlier one.
    // A scaled node needs no more: the engine renormalises the normals of scaled nodes.
    const char* rotation = SceneSpellings::childName(element, "rotation");
    for (const TiXmlElement* child = element->FirstChildElement(); child != nullptr;
         child = child->NextSiblingElement()) {
        const char* kind = child->Value();
        if (same(kind, "position"))
            node->setPosition(readPosition(child));
        else if (same(kind, rotation))
            node->setOrientation(readRotation(child));
        else if (same(kind, "scale"))
            node->setScale(readScale(child));
    }

    if (showInfo && name.find(".Target") != std::string::npos)
        createTargetMarker(node, name);

    for (const TiXmlElement* child = element->FirstChildElement(); child != nullptr;
         child = child->NextSiblingElement()) {
        const char* kind = child->Value();
        if (same(kind, "entity"))
            processEntity(child, node);
        else if (same(kind, "light"))
            processLight(child, node);
        else if (same(kind, "camera"))
            processCamera(child, node);
    }

    for (const TiXmlElement* child = element->FirstChildElement("node"); child != nullptr;
         child = child->NextSiblingElement("node"))
        processNode(child, node);
}

void SceneLoader::processEntity(const TiXmlElement* element, Ogre::SceneNode* node) {
    const char* meshText = SceneSpellings::attribute(element, "meshfile");
    const std::string mesh = meshText != nullptr ? meshText : "";
    // The name is settled before the mesh is tested, so an unnamed entity without a mesh
    // still takes an automatic name.
    std::string name;
    getAttribute(element, "name", name);
    if (name.empty())
        name = makeAutoName();
    if (mesh.empty())
        return;

    Ogre::Entity* entity = createEntity("entity_" + name, mesh);
    if (entity == nullptr)
        return;
    node->attachObject(entity);

    if (cameraCollide) {
        bool isStatic = false;
        getAttributeBool(element, "static", isStatic);
        if (isStatic)
            staticEntities.push_back(entity);
    }
    if (showInfo && node->_getDerivedPosition() != Ogre::Vector3::ZERO)
        createEntityMarker(entity, node, name);
}

Ogre::Entity* SceneLoader::createEntity(const std::string& entityName, const std::string& mesh) {
    // A name already taken ends the load, as every other clash of names does; only a mesh
    // that cannot be loaded is this entity's own failure.
    if (sceneManager->hasEntity(entityName))
        return sceneManager->createEntity(entityName, mesh);
    try {
        return sceneManager->createEntity(entityName, mesh);
    } catch (const Ogre::Exception& error) {
        DebugOutput::line("SceneLoader::processEntity(): " + entityName + " cannot load mesh \"" +
                          mesh + "\": " + oneLine(error.getDescription()));
        return nullptr;
    }
}

void SceneLoader::processExternals(const TiXmlElement*) {
    // External references (material files and the like) are the resource locations'
    // business: every item is accepted and left alone.
}

void SceneLoader::processLight(const TiXmlElement* element, Ogre::SceneNode* node) {
    std::string name;
    getAttribute(element, "name", name);
    if (name.empty())
        name = makeAutoName();

    Ogre::Light* light = sceneManager->createLight("light_" + name);
    node->attachObject(light);

    std::string type = "point";
    getAttribute(element, "type", type);
    bool visible = true;
    getAttributeBool(element, "visible", visible);
    light->setVisible(visible);

    if (const TiXmlElement* diffuse = SceneSpellings::child(element, "colour_diffuse"))
        light->setDiffuseColour(readColour(diffuse));
    if (const TiXmlElement* specular = SceneSpellings::child(element, "colour_specular"))
        light->setSpecularColour(readColour(specular));

    // The target types differ from their plain twins only in name: aiming comes from
    // "targetNodeName" alone.
    if (type == "point")
        light->setType(Ogre::Light::LT_POINT);
    else if (type == "directional" || type == "targetDirectional")
        light->setType(Ogre::Light::LT_DIRECTIONAL);
    else if (type == "spot" || type == "targetSpot")
        light->setType(Ogre::Light::LT_SPOTLIGHT);

    if (const TiXmlElement* attenuation = SceneSpellings::child(element, "light_attenuation")) {
        float range, constant, linear, quadratic;
        readAttenuation(attenuation, range, constant, linear, quadratic);
        light->setAttenuation(range, constant, linear, quadratic);
    }
    if (const TiXmlElement* range = SceneSpellings::child(element, "light_range")) {
        float inner, outer, falloff;
        readSpotlightRange(range, inner, outer, falloff);
        // The format writes degrees; today's exporters write radians.
        if (!SceneSpellings::isTodays(range, "light_range")) {
            inner = Ogre::Math::DegreesToRadians(inner);
            outer = Ogre::Math::DegreesToRadians(outer);
        }
        light->setSpotlightRange(Ogre::Radian(inner), Ogre::Radian(outer), falloff);
    }
    if (const TiXmlElement* normal = element->FirstChildElement("normal"))
        AttachedPlacement::setDirection(*light, readDirection(normal));
    if (const TiXmlElement* position = element->FirstChildElement("position"))
        AttachedPlacement::setPosition(*light, readPosition(position));

    // A light aims at its target's place within the target's own parent, measured from
    // the light's place in the world.
    std::string target;
    getAttribute(element, "targetNodeName", target);
    if (!target.empty())
        if (Ogre::SceneNode* targetNode = findNode(target))
            AttachedPlacement::setDirection(*light, targetNode->getPosition() -
                                                        light->getDerivedPosition());

    if (showInfo)
        createLightMarker(light, node, name, light->getDiffuseColour());
}

void SceneLoader::processCamera(const TiXmlElement* element, Ogre::SceneNode* node) {
    std::string name;
    getAttribute(element, "name", name);
    if (name.empty())
        name = makeAutoName();

    Ogre::Camera* camera = sceneManager->createCamera("camera_" + name);
    node->attachObject(camera);

    std::string target;
    getAttribute(element, "targetNodeName", target);
    std::string projection;
    getAttribute(element, "projectionType", projection);

    if (const char* nearClip = SceneSpellings::attribute(element, "nearClipDistance"))
        camera->setNearClipDistance(RealReader::parse(nearClip));
    if (const char* farClip = SceneSpellings::attribute(element, "farClipDistance"))
        camera->setFarClipDistance(RealReader::parse(farClip));
    camera->setProjectionType(projection == "perspective" ? Ogre::PT_PERSPECTIVE
                                                          : Ogre::PT_ORTHOGRAPHIC);

    if (const TiXmlElement* normal = element->FirstChildElement("normal"))
        AttachedPlacement::setDirection(*camera, readDirection(normal));
    if (const TiXmlElement* position = element->FirstChildElement("position"))
        AttachedPlacement::setPosition(*camera, readPosition(position));

    // A camera looks at its target's place in the world.
    if (!target.empty())
        if (Ogre::SceneNode* targetNode = findNode(target))
            AttachedPlacement::lookAt(*camera, targetNode->_getDerivedPosition());

    if (showInfo)
        createCameraMarker(camera, node);
}

Ogre::SceneNode* SceneLoader::findNode(const std::string& fileName) const {
    const std::string name = "node_" + fileName;
    return sceneManager->hasSceneNode(name) ? sceneManager->getSceneNode(name) : nullptr;
}

Ogre::Quaternion SceneLoader::readRotation(const TiXmlElement* element) {
    return SceneSpellings::isTodays(element, "rotation") ? readQuaternion(element)
                                                         : readOrientation(element);
}

void SceneLoader::createTargetMarker(Ogre::SceneNode* node, const std::string& name) {
    infoMarkers.markTarget(*sceneManager, *node, name);
}

void SceneLoader::createEntityMarker(Ogre::Entity* entity, Ogre::SceneNode* node,
                                     const std::string&) {
    infoMarkers.markEntity(*entity, *node);
}

void SceneLoader::createLightMarker(Ogre::Light*, Ogre::SceneNode* node, const std::string& name,
                                    const Ogre::ColourValue& colour) {
    infoMarkers.markLight(*sceneManager, *node, name, colour);
}

void SceneLoader::createCameraMarker(Ogre::Camera* camera, Ogre::SceneNode* node) {
    infoMarkers.markCamera(*sceneManager, *camera, *node);
}

void SceneLoader::destroyInfoLabels() {
    infoMarkers.destroyLabels();
}

} // namespace corvane
