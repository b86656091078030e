#include "viewer/ViewerApplication.h"

#include <tinyxml.h>

#include "framework/Identifiers.h"
#include "platform/CurrentDirectory.h"
#include "platform/DebugOutput.h"

namespace corvane {

const char* const ViewerApplication::START_DIRECTORY_SUFFIX = "/plugins/SceneViewer_Release";

ViewerApplication::ViewerApplication() = default;

ViewerApplication::~ViewerApplication() = default;

HRESULT ViewerApplication::QueryInterface(const UUID& iid, void** out) {
    if (iid == IID_IViewerCore)
        *out = static_cast<IViewerCore*>(this);
    else if (iid == IID_ICameraControl)
        *out = static_cast<ICameraControl*>(this);
    else if (iid == IID_ISceneAccess)
        *out = static_cast<ISceneAccess*>(this);
    else
        return E_FAIL;
    AddRef();
    return S_OK;
}

std::int32_t ViewerApplication::AddRef() {
    return ++referenceCount;
}

std::int32_t ViewerApplication::Release() {
    return --referenceCount;
}

Ogre::RenderWindow* ViewerApplication::getRenderWindow() {
    return nullptr;
}

Ogre::SceneManager* ViewerApplication::getSceneManager() {
    return nullptr;
}

bool ViewerApplication::setUp() {
    return true;
}

bool ViewerApplication::configure() {
    return true;
}

void ViewerApplication::createSceneManager() {}

void ViewerApplication::setUpCamera() {}

void ViewerApplication::finishSetUp() {}

void ViewerApplication::loadScene() {}

void ViewerApplication::setUpViewport() {}

void ViewerApplication::addResourceLocations() {}

void ViewerApplication::setLocalVelocity(const FloatVector3&) {}

void ViewerApplication::setCameraPosition(const FloatVector3&) {}

void ViewerApplication::setWorldVelocity(const FloatVector3&) {}

void ViewerApplication::setMoveTarget(const FloatVector3&) {}

void ViewerApplication::rotateDegrees(const float&, const float&, const float&) {}

void ViewerApplication::setOrientation(const FloatQuaternion&) {}

FloatVector3 ViewerApplication::getPosition() {
    return {0.0f, 0.0f, 0.0f};
}

FloatQuaternion ViewerApplication::getOrientation() {
    return {1.0f, 0.0f, 0.0f, 0.0f};
}

void ViewerApplication::startRotationSlerp(const float&, const FloatQuaternion&,
                                           const FloatQuaternion&) {}

ISceneObject* ViewerApplication::getSceneObject(const std::string&) {
    return nullptr;
}

void ViewerApplication::setTimeScale(float) {}

unsigned int ViewerApplication::getWindowWidth() {
    return 0;
}

unsigned int ViewerApplication::getWindowHeight() {
    return 0;
}

PLUGIN_INFO ViewerApplication::pluginInfo() const {
    PLUGIN_INFO info{PLUGIN_ID_SCENE_VIEWER, {KIND_ID_VIEWER}, {}, nullptr};
    info.pluginObject = static_cast<IViewerCore*>(const_cast<ViewerApplication*>(this));
    return info;
}

void ViewerApplication::parseEnvironment(const TiXmlElement* environment) {
    if (environment == nullptr)
        return;
    for (const TiXmlElement* path = environment->FirstChildElement("searchpath"); path != nullptr;
         path = path->NextSiblingElement("searchpath")) {
        const char* source = path->Attribute("src");
        if (source == nullptr) {
            DebugOutput::line("SceneViewer: a \"searchpath\" element without \"src\" (row " +
                              std::to_string(path->Row()) + ") is skipped");
            continue;
        }
        const char* type = path->Attribute("type");
        addResourceLocation(source, type != nullptr ? type : "FileSystem");
    }
    if (const TiXmlElement* scene = environment->FirstChildElement("scene")) {
        const char* source = scene->Attribute("src");
        if (source != nullptr)
            setSceneFile(source);
        else
            DebugOutput::line("SceneViewer: a \"scene\" element without \"src\" (row " +
                              std::to_string(scene->Row()) + ") is skipped");
    }
}

bool ViewerApplication::start() {
    const std::string previous = CurrentDirectory::get();
    // The suffix is appended as it is: no separator is added or removed.
    CurrentDirectory::set(previous + START_DIRECTORY_SUFFIX);
    struct Restore {
        const std::string& directory;
        ~Restore() { CurrentDirectory::set(directory); }
    } restore{previous};
    return setUp();
}

bool ViewerApplication::renderFrame(float) {
    return true;
}

void ViewerApplication::stop() {}

void ViewerApplication::addResourceLocation(const std::string& location, const std::string& type) {
    deferredLocations.emplace(location, type);
}

void ViewerApplication::setSceneFile(const std::string& file) {
    sceneFile = file;
}

} // namespace corvane
