#include "viewer/scene/SceneLoader.h"

#include <OgreCamera.h>
#include <OgreEntity.h>
#include <OgreLight.h>
#include <OgreMath.h>
#include <OgreResourceGroupManager.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <OgreString.h>
#include <OgreStringConverter.h>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>
#include <tinyxml.h>

#include "framework/XmlNestingDepth.h"
#include "framework/XmlReader.h"
#include "platform/DebugOutput.h"
#include "viewer/ResourceGroup.h"
#include "viewer/control/TransformGuard.h"
#include "viewer/scene/AttachedPlacement.h"
#include "viewer/scene/EntityAttributes.h"
#include "viewer/scene/MaterialFallback.h"
#include "viewer/scene/NodeAnimationReader.h"
#include "viewer/scene/RealReader.h"
#include "viewer/scene/SceneParticleSystem.h"
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

bool isFinite(const Ogre::Vector3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

bool isFinite(const Ogre::Quaternion& q) {
    return std::isfinite(q.w) && std::isfinite(q.x) && std::isfinite(q.y) && std::isfinite(q.z);
}

// A place, turn or size that is not finite cannot be given to the engine (it refuses NaN,
// and infinities spread NaN through every derived transform): one line, and the item
// keeps what it had.
template <class Value>
bool placeable(const SceneReport& report, const TiXmlElement* element, const Value& value,
               const std::string& owner, const char* item) {
    if (isFinite(value))
        return true;
    report.error("SceneLoader::load()", element != nullptr ? element->Row() : 0,
                 owner + " has a \"" + item + "\" that is not finite; it is skipped");
    return false;
}

// A turn must also be one the engine can normalise: it divides by the quaternion's length,
// and a length of zero (an empty "rotation" element) or an infinite one makes the node's
// orientation NaN.
bool placeable(const SceneReport& report, const TiXmlElement* element,
               const Ogre::Quaternion& value, const std::string& owner, const char* item) {
    if (!isFinite(value))
        return placeable<Ogre::Quaternion>(report, element, value, owner, item);
    if (TransformGuard::isRotation(value))
        return true;
    report.error("SceneLoader::load()", element != nullptr ? element->Row() : 0,
                 owner + " has a \"" + item +
                     "\" whose length is zero or beyond the range of floats; it is skipped");
    return false;
}

// Runs the processing of one element of `owner`. What the engine refuses in it ends that
// element alone, with one line; what it made before stays.
template <class Body>
void guarded(const SceneReport& report, const TiXmlElement& element, const std::string& owner,
             Body&& body) {
    try {
        body();
    } catch (const Ogre::Exception& error) {
        report.error("SceneLoader::load()", element.Row(),
                     owner + ": a \"" + element.Value() +
                         "\" element is skipped: " + DebugOutput::oneLine(error.getDescription()));
    }
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

SceneLoader::SceneLoader() : SceneLoader(standardError) {}

SceneLoader::SceneLoader(DiagnosticSink& sink)
    : sink(&sink), report(sink, ""), infoMarkers(report) {}

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
    backgroundColour.reset();
    firstCamera = {};
    loadedEntities.clear();

    LoadScope scope(rootNode, sceneManager);
    const DiagnosticSink::Load lines(*sink);
    report = SceneReport(*sink, fileName);
    sceneManager = manager;
    rootNode = root != nullptr ? root
                               : manager->getRootSceneNode()->createChildSceneNode(
                                     Ogre::Vector3::ZERO, Ogre::Quaternion::IDENTITY);
    if (rootNode == nullptr)
        return false;

    TiXmlDocument document;
    if (!parseScene(fileName, document))
        return false;
    const EntityMaterials::Listening listening(entityMaterials);
    const TiXmlElement* scene = document.FirstChildElement();
    if (scene == nullptr) {
        report.error("SceneLoader::load()", 0, fileName + " has no scene element");
        return false;
    }
    // The sections are built in this order whatever their order in the file.
    if (const TiXmlElement* environment = scene->FirstChildElement("environment"))
        processEnvironment(environment);
    if (const TiXmlElement* nodes = scene->FirstChildElement("nodes")) {
        processNodes(nodes, rootNode);
        // Finite values can still add up beyond the range of floats under the parents'
        // places and sizes, where the engine's bounding boxes turn them into NaN and abort.
        TransformGuard::settle(*rootNode, [this](Ogre::Node& node) {
            report.error("SceneLoader::load()", 0,
                         node.getName() +
                             " would be placed beyond the range of floats; its position, "
                             "rotation and scale are skipped");
            node.setPosition(Ogre::Vector3::ZERO);
            node.setOrientation(Ogre::Quaternion::IDENTITY);
            node.setScale(Ogre::Vector3::UNIT_SCALE);
        });
    }
    if (const TiXmlElement* externals = scene->FirstChildElement("externals"))
        processExternals(externals);
    MaterialFallback::apply(loadedEntities, report);
    return true;
}

bool SceneLoader::parseScene(const std::string& fileName, TiXmlDocument& document) {
    Ogre::ResourceGroupManager& resources = Ogre::ResourceGroupManager::getSingleton();
    std::set<std::string> names;
    if (resources.resourceGroupExists(VIEWER_RESOURCE_GROUP)) {
        const Ogre::StringVectorPtr found =
            resources.findResourceNames(VIEWER_RESOURCE_GROUP, "*.scene");
        names.insert(found->begin(), found->end());
        // A scene saved under another extension is taken when it is asked for by name.
        if (!Ogre::StringUtil::endsWith(fileName, ".scene", false) && !fileName.empty() &&
            resources.resourceExists(VIEWER_RESOURCE_GROUP, fileName))
            names.insert(fileName);
    }
    // The engine's listing of a folder leaves out the files whose names begin with a dot,
    // such as an exporter's unnamed ".scene": one asked for by name is read all the same,
    // from the first location that holds it.
    Ogre::DataStreamPtr unlisted;
    if (!fileName.empty() && fileName[0] == '.' && names.count(fileName) == 0 &&
        resources.resourceGroupExists(VIEWER_RESOURCE_GROUP))
        for (const auto& location : resources.getResourceLocationList(VIEWER_RESOURCE_GROUP)) {
            try {
                unlisted = location.archive->open(fileName);
            } catch (const Ogre::Exception&) {
                // Not in this location.
            }
            if (unlisted) {
                names.insert(fileName);
                break;
            }
        }
    bool parsed = false;
    for (const std::string& name : names) {
        report.list(name);
        if (name != fileName)
            continue;
        std::string text;
        try {
            text =
                (unlisted && name == fileName ? unlisted
                                              : resources.openResource(name, VIEWER_RESOURCE_GROUP))
                    ->getAsString();
        } catch (const Ogre::Exception& error) {
            report.error("SceneLoader::load()", 0,
                         "cannot read " + name + ": " +
                             DebugOutput::oneLine(error.getDescription()));
            return false;
        }
        const XmlReader::Outcome outcome = XmlReader::parse(text, document);
        if (outcome == XmlReader::Outcome::TOO_DEEP) {
            report.error("SceneLoader::load()", 0,
                         name + " nests elements deeper than " +
                             std::to_string(XmlNestingDepth::LIMIT) + " levels");
            return false;
        }
        if (outcome == XmlReader::Outcome::UNREADABLE_ENCODING) {
            report.error("SceneLoader::load()", 0,
                         name + " is in an encoding the parser cannot read (" +
                             XmlReader::unreadableEncoding(text) + ")");
            return false;
        }
        if (outcome == XmlReader::Outcome::MALFORMED) {
            const XmlReader::ParseError error = XmlReader::parseError(text, document);
            report.error("SceneLoader::load()", error.open ? error.open->row : error.row,
                         "cannot parse " + name + ": " + error.described());
            return false;
        }
        parsed = true;
    }
    if (!parsed)
        report.error("SceneLoader::load()", 0,
                     "there is no scene resource named \"" + fileName + "\"");
    return parsed;
}

void SceneLoader::processEnvironment(const TiXmlElement* element) {
    Ogre::ColourValue ambient = Ogre::ColourValue::Black;
    if (const TiXmlElement* colour = SceneSpellings::child(element, "colour_ambient"))
        ambient = readColour(colour);
    // The loader has no viewport: the viewer puts the colour on it after the load.
    if (const TiXmlElement* colour = SceneSpellings::child(element, "colour_background"))
        backgroundColour = readColour(colour);
    if (const TiXmlElement* movement = element->FirstChildElement("movement")) {
        movementSpeed = number(movement, "speed");
        if (!getAttributeBool(movement, "camera_collide", cameraCollide))
            cameraCollide = false;
    }
    sceneManager->setAmbientLight(ambient);
    if (const TiXmlElement* fog = element->FirstChildElement("fog"))
        processFog(fog);
}

void SceneLoader::processFog(const TiXmlElement* element) {
    const char* const origin = "SceneLoader::processEnvironment()";
    std::string mode = "none";
    getAttribute(element, "mode", mode);
    const std::pair<const char*, Ogre::FogMode> modes[] = {{"none", Ogre::FOG_NONE},
                                                           {"exp", Ogre::FOG_EXP},
                                                           {"exp2", Ogre::FOG_EXP2},
                                                           {"linear", Ogre::FOG_LINEAR}};
    const auto known = std::find_if(std::begin(modes), std::end(modes), [&](const auto& entry) {
        return Ogre::StringUtil::match(mode, entry.first, false);
    });
    if (known == std::end(modes)) {
        report.error(origin, element->Row(),
                     "the fog's mode \"" + mode +
                         "\" is none of \"none\", \"exp\", \"exp2\", \"linear\"; there is no fog");
        return;
    }
    // The format's defaults: a thin exponential fog, a linear one over the first unit.
    const auto value = [&](const char* name, float absent) {
        const char* text = SceneSpellings::attribute(element, name);
        return text != nullptr ? RealReader::parse(text) : absent;
    };
    const float density = value("exp_density", 0.001f);
    const float start = value("linear_start", 0.0f);
    const float end = value("linear_end", 1.0f);
    Ogre::ColourValue colour = Ogre::ColourValue::White;
    if (const TiXmlElement* diffuse = SceneSpellings::child(element, "colour_diffuse"))
        colour = readColour(diffuse);
    if (!std::isfinite(density) || !std::isfinite(start) || !std::isfinite(end) ||
        !std::isfinite(colour.r + colour.g + colour.b)) {
        report.error(origin, element->Row(),
                     "the fog has a number that is not finite; there is no fog");
        return;
    }
    sceneManager->setFog(known->second, colour, density, start, end);
}

void SceneLoader::processNodes(const TiXmlElement* element, Ogre::SceneNode* root) {
    const char* rotation = SceneSpellings::childName(element, "rotation");
    for (const TiXmlElement* child = element->FirstChildElement(); child != nullptr;
         child = child->NextSiblingElement()) {
        const char* kind = child->Value();
        if (same(kind, "position")) {
            const Ogre::Vector3 position = readPosition(child);
            if (placeable(report, child, position, "nodes", kind))
                root->setPosition(position);
            root->setInitialState();
        } else if (same(kind, rotation)) {
            const Ogre::Quaternion orientation = readRotation(child);
            if (placeable(report, child, orientation, "nodes", kind))
                root->setOrientation(orientation);
            root->setInitialState();
        } else if (same(kind, "scale")) {
            const Ogre::Vector3 scale = readScale(child);
            if (placeable(report, child, scale, "nodes", kind))
                root->setScale(scale);
            root->setInitialState();
        } else if (same(kind, "node")) {
            guarded(report, *child, "nodes", [&] { processNode(child, root); });
        }
    }
}

void SceneLoader::processNode(const TiXmlElement* element, Ogre::SceneNode* parent) {
    std::string name;
    if (!getAttribute(element, "name", name))
        name = makeAutoName();
    const std::string nodeName = "node_" + name;
    // Two nodes of one name cannot both be found again: the later one is left out with
    // everything on and under it, and the rest of the scene loads.
    if (sceneManager->hasSceneNode(nodeName)) {
        report.error("SceneLoader::processNode()", element->Row(),
                     "there is already a node " + nodeName +
                         "; the node and its children are skipped");
        return;
    }
    Ogre::SceneNode* node =
        parent->createChildSceneNode(nodeName, Ogre::Vector3::ZERO, Ogre::Quaternion::IDENTITY);

    // The node's own transform is complete before its objects are made, and all its
    // objects are made before its child nodes; a later element overrides an earlier one.
    // A scaled node needs no more: the engine renormalises the normals of scaled nodes.
    const char* rotation = SceneSpellings::childName(element, "rotation");
    const TiXmlElement* animations = nullptr;
    for (const TiXmlElement* child = element->FirstChildElement(); child != nullptr;
         child = child->NextSiblingElement()) {
        const char* kind = child->Value();
        if (same(kind, "position")) {
            const Ogre::Vector3 position = readPosition(child);
            if (placeable(report, child, position, nodeName, kind))
                node->setPosition(position);
        } else if (same(kind, rotation)) {
            const Ogre::Quaternion orientation = readRotation(child);
            if (placeable(report, child, orientation, nodeName, kind))
                node->setOrientation(orientation);
        } else if (same(kind, "scale")) {
            const Ogre::Vector3 scale = readScale(child);
            if (placeable(report, child, scale, nodeName, kind))
                node->setScale(scale);
        } else if (animations == nullptr && same(kind, "animations")) {
            animations = child;
        }
    }
    // The animations play from the node's own transform.
    if (animations != nullptr)
        guarded(report, *animations, nodeName,
                [&] { NodeAnimationReader::read(*animations, *sceneManager, *node, report); });
    if (showInfo && name.find(".Target") != std::string::npos)
        createTargetMarker(node, name);

    for (const TiXmlElement* child = element->FirstChildElement(); child != nullptr;
         child = child->NextSiblingElement()) {
        const char* kind = child->Value();
        if (same(kind, "entity"))
            guarded(report, *child, nodeName, [&] { processEntity(child, node); });
        else if (same(kind, "light"))
            guarded(report, *child, nodeName, [&] { processLight(child, node); });
        else if (same(kind, "camera"))
            guarded(report, *child, nodeName, [&] { processCamera(child, node); });
        else if (same(kind, "particleSystem"))
            guarded(report, *child, nodeName,
                    [&] { SceneParticleSystem::create(*child, *sceneManager, *node, report); });
    }

    for (const TiXmlElement* child = element->FirstChildElement("node"); child != nullptr;
         child = child->NextSiblingElement("node"))
        guarded(report, *child, nodeName, [&] { processNode(child, node); });
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

    Ogre::Entity* entity = createEntity("entity_" + name, mesh, element->Row());
    if (entity == nullptr)
        return;
    node->attachObject(entity);
    EntityAttributes::apply(*element, *entity, entityMaterials, report);
    loadedEntities.push_back(entity);

    if (cameraCollide) {
        bool isStatic = false;
        getAttributeBool(element, "static", isStatic);
        if (isStatic)
            staticEntities.push_back(entity);
    }
    if (showInfo && node->_getDerivedPosition() != Ogre::Vector3::ZERO)
        createEntityMarker(entity, node, name);
}

Ogre::Entity* SceneLoader::createEntity(const std::string& entityName, const std::string& mesh,
                                        int row) {
    if (sceneManager->hasEntity(entityName)) {
        report.error("SceneLoader::processEntity()", row,
                     "there is already an entity " + entityName + "; this one is skipped");
        return nullptr;
    }
    try {
        return sceneManager->createEntity(entityName, mesh);
    } catch (const Ogre::Exception& error) {
        report.error("SceneLoader::processEntity()", row,
                     entityName + " cannot load mesh \"" + mesh +
                         "\": " + DebugOutput::oneLine(error.getDescription()));
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

    if (sceneManager->hasLight("light_" + name)) {
        report.error("SceneLoader::processLight()", element->Row(),
                     "there is already a light light_" + name + "; this one is skipped");
        return;
    }
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
    const std::string lightName = "light_" + name;
    if (const TiXmlElement* normal = SceneSpellings::child(element, "normal"))
        if (const Ogre::Vector3 direction = readDirection(normal);
            placeable(report, normal, direction, lightName, normal->Value()))
            AttachedPlacement::setDirection(*light, direction);
    if (const TiXmlElement* position = element->FirstChildElement("position"))
        if (const Ogre::Vector3 place = readPosition(position);
            placeable(report, position, place, lightName, "position"))
            AttachedPlacement::setPosition(*light, place);

    // A light aims at its target's place within the target's own parent, measured from
    // the light's place in the world.
    std::string target;
    getAttribute(element, "targetNodeName", target);
    if (!target.empty())
        if (Ogre::SceneNode* targetNode = findNode(target))
            if (const Ogre::Vector3 direction =
                    targetNode->getPosition() - light->getDerivedPosition();
                placeable(report, element, direction, lightName, "targetNodeName"))
                AttachedPlacement::setDirection(*light, direction);

    if (showInfo)
        createLightMarker(light, node, name, light->getDiffuseColour());
}

void SceneLoader::processCamera(const TiXmlElement* element, Ogre::SceneNode* node) {
    std::string name;
    getAttribute(element, "name", name);
    if (name.empty())
        name = makeAutoName();

    const std::string cameraName = "camera_" + name;
    if (sceneManager->hasCamera(cameraName)) {
        report.error("SceneLoader::processCamera()", element->Row(),
                     "there is already a camera " + cameraName + "; this one is skipped");
        return;
    }
    Ogre::Camera* camera = sceneManager->createCamera(cameraName);
    node->attachObject(camera);

    std::string target;
    getAttribute(element, "targetNodeName", target);
    std::string projection;
    getAttribute(element, "projectionType", projection);

    // The near plane must lie in front of the camera; a far distance of 0 means no far
    // plane. Other distances give one line and leave the camera's own.
    FirstCamera view{camera, {}, {}, {}};
    if (const char* nearClip = SceneSpellings::attribute(element, "nearClipDistance")) {
        const float distance = RealReader::parse(nearClip);
        if (std::isfinite(distance) && distance > 0.0f) {
            camera->setNearClipDistance(distance);
            view.nearClip = distance;
        } else {
            report.error("SceneLoader::processCamera()", element->Row(),
                         cameraName + " cannot clip nearer than \"" + nearClip +
                             "\"; it is skipped");
        }
    }
    if (const char* farClip = SceneSpellings::attribute(element, "farClipDistance")) {
        const float distance = RealReader::parse(farClip);
        if (std::isfinite(distance) && distance >= 0.0f) {
            camera->setFarClipDistance(distance);
            view.farClip = distance;
        } else {
            report.error("SceneLoader::processCamera()", element->Row(),
                         cameraName + " cannot clip farther than \"" + farClip +
                             "\"; it is skipped");
        }
    }
    camera->setProjectionType(projection == "perspective" ? Ogre::PT_PERSPECTIVE
                                                          : Ogre::PT_ORTHOGRAPHIC);
    if (firstCamera.camera == nullptr)
        recordFirstCamera(element, view);

    if (const TiXmlElement* normal = SceneSpellings::child(element, "normal"))
        if (const Ogre::Vector3 direction = readDirection(normal);
            placeable(report, normal, direction, cameraName, normal->Value()))
            AttachedPlacement::setDirection(*camera, direction);
    if (const TiXmlElement* position = element->FirstChildElement("position"))
        if (const Ogre::Vector3 place = readPosition(position);
            placeable(report, position, place, cameraName, "position"))
            AttachedPlacement::setPosition(*camera, place);

    // A camera looks at its target's place in the world.
    if (!target.empty())
        if (Ogre::SceneNode* targetNode = findNode(target))
            if (const Ogre::Vector3 place = targetNode->_getDerivedPosition();
                placeable(report, element, place, cameraName, "targetNodeName"))
                AttachedPlacement::lookAt(*camera, place);

    if (showInfo)
        createCameraMarker(camera, node);
}

void SceneLoader::recordFirstCamera(const TiXmlElement* element, const FirstCamera& view) {
    firstCamera = view;
    const char* fov = element->Attribute("fov");
    if (fov == nullptr)
        return;
    // The format's exporters write radians; an angle a view cannot have in radians is
    // taken for degrees, as some write them.
    const float angle = RealReader::parse(fov);
    if (std::isfinite(angle) && angle > 0.0f && angle < Ogre::Math::PI)
        firstCamera.fieldOfView = angle;
    else if (std::isfinite(angle) && angle >= Ogre::Math::PI && angle < 180.0f)
        firstCamera.fieldOfView = Ogre::Math::DegreesToRadians(angle);
    else
        report.error("SceneLoader::processCamera()", element->Row(),
                     view.camera->getName() + " has a field of view of \"" + fov +
                         "\", which no view has; it is skipped");
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
