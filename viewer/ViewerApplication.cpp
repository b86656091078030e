#include "viewer/ViewerApplication.h"

#include <Ogre.h>
#include <OgreBitesConfigDialog.h>
#include <OgreOverlaySystem.h>
#include <cmath>
#include <filesystem>
#include <tinyxml.h>

#include "framework/Identifiers.h"
#include "platform/CurrentDirectory.h"
#include "platform/DebugOutput.h"
#include "platform/WindowSystem.h"
#include "viewer/EngineLogLines.h"
#include "viewer/OffscreenTarget.h"
#include "viewer/ResourceGroup.h"
#include "viewer/ResourceLocations.h"
#include "viewer/ResourceReadGuard.h"
#include "viewer/ResourceScripts.h"
#include "viewer/control/TransformGuard.h"
#include "viewer/scene/SceneLoader.h"

namespace corvane {

const char* const ViewerApplication::START_DIRECTORY_SUFFIX = "/plugins/SceneViewer_Release";

const char* const ViewerApplication::WINDOW_TITLE = "Corvane - SceneViewer::Ogre";
const char* const ViewerApplication::CORE_ARCHIVE = "../OgreCore/OgreCore.zip";
const char* const ViewerApplication::CORE_SEARCH_PATH = "../OgreCore";

namespace {

const char* const PLUGINS_FILE = "plugins.cfg";
const char* const CONFIGURATION_FILE = "ogre.cfg";
const char* const LOG_FILE = "Ogre.log";
const char* const CAMERA_NAME = "PlayerCam";
constexpr float CAMERA_NEAR_CLIP = 5.0f;

Ogre::Vector3 toOgre(const FloatVector3& value) {
    return {value.x, value.y, value.z};
}

FloatVector3 fromOgre(const Ogre::Vector3& value) {
    return {value.x, value.y, value.z};
}

Ogre::Quaternion toOgre(const FloatQuaternion& value) {
    return {value.w, value.x, value.y, value.z};
}

} // namespace

ViewerApplication::ViewerApplication() = default;

TransformGuard ViewerApplication::cameraGuard() {
    return TransformGuard("ViewerApplication", CAMERA_NAME, &diagnostics);
}

ViewerApplication::~ViewerApplication() {
    // The window leaves the event list before the root object destroys it; the members
    // then go in reverse order: scene objects and loader first, the root object last.
    if (window != nullptr)
        WindowSystem::unregisterWindow(window);
    if (sceneManager != nullptr && overlaySystem)
        sceneManager->removeRenderQueueListener(overlaySystem.get());
    offscreen.reset();
}

HRESULT ViewerApplication::QueryInterface(const UUID& iid, void** out) {
    if (iid == IID_IViewerCore)
        *out = static_cast<IViewerCore*>(this);
    else if (iid == IID_ICameraControl)
        *out = static_cast<ICameraControl*>(this);
    else if (iid == IID_ISceneAccess)
        *out = static_cast<ISceneAccess*>(this);
    else if (iid == IID_ISceneTimeline)
        *out = static_cast<ISceneTimeline*>(this);
    else if (iid == IID_IFrameSource)
        *out = static_cast<IFrameSource*>(this);
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
    return window;
}

Ogre::SceneManager* ViewerApplication::getSceneManager() {
    return sceneManager;
}

bool ViewerApplication::setUp() {
    if (!root) {
        root = createRoot();
        if (!root)
            return false;
        overlaySystem = std::make_unique<Ogre::OverlaySystem>();
        readGuard = std::make_unique<ResourceReadGuard>();
        engineLogLines =
            std::make_unique<EngineLogLines>(VIEWER_RESOURCE_GROUP, *readGuard, diagnostics);
    }
    addResourceLocations();
    if (!configure())
        return false;
    createSceneManager();
    setUpCamera();
    setUpViewport();
    loadScene();
    finishSetUp();
    if (sceneLoader && cameraNode != nullptr)
        startCamera.place(*cameraNode, *camera, *sceneManager, sceneLoader->getFirstCamera());
    // What the timeline puts back: the scene as the start leaves it, the camera included.
    loadedScene.capture(*sceneManager, cameraMotion);
    return true;
}

std::unique_ptr<Ogre::Root> ViewerApplication::createRoot() {
    // Without a display the render system fails inside the root object's constructor,
    // with an exception whose code goes with the render system's library; it is not
    // left to get that far.
    const WindowSystem::DisplayConnection display;
    if (!display.isOpen()) {
        DebugOutput::line("ViewerApplication::setUp(): cannot open the display \"" +
                          display.name() + "\"; the viewer does not start");
        return nullptr;
    }
    if (Ogre::LogManager::getSingletonPtr() == nullptr) {
        logManager = std::make_unique<Ogre::LogManager>();
        logManager->createLog(LOG_FILE, true, false, false);
    }
    auto made = std::make_unique<Ogre::Root>(PLUGINS_FILE, CONFIGURATION_FILE, LOG_FILE);
    // Debian's engine runs its work queue on threads but locks nothing, not even its log:
    // a worker's first line raced the viewer's own lines and listeners, and crashed now and
    // then. Nothing here is loaded in the background, so the queue has no workers.
    if (auto* queue = dynamic_cast<Ogre::DefaultWorkQueueBase*>(made->getWorkQueue()))
        queue->setWorkerThreadCount(0);
    return made;
}

bool ViewerApplication::configure() {
    bool restored = false;
    try {
        restored = root->restoreConfig();
    } catch (const Ogre::Exception& error) {
        DebugOutput::line(std::string("ViewerApplication::configure(): \"") + CONFIGURATION_FILE +
                          "\" is not usable: " + error.getDescription());
    }
    if (!restored && !showConfigDialog())
        return false;
    window = root->initialise(true, windowTitle);
    WindowSystem::registerWindow(window);
    // Hidden while the scene loads; loadScene() shows it.
    if (!window->isFullScreen())
        WindowSystem::setWindowHidden(window, true);
    return true;
}

bool ViewerApplication::showConfigDialog() {
    Ogre::ConfigDialog* dialog =
        configDialog != nullptr ? configDialog : OgreBites::getNativeConfigDialog();
    if (dialog == nullptr) // no dialog on this platform: the engine's defaults
        return root->showConfigDialog(nullptr);
    // Shown directly rather than through the root object, which would first restore the
    // stored configuration again, and throw again for a file it cannot use.
    if (!dialog->display())
        return false;
    if (root->getRenderSystem() == nullptr) {
        DebugOutput::line("ViewerApplication::configure(): the configuration dialog chose no "
                          "render system");
        return false;
    }
    root->saveConfig();
    return true;
}

void ViewerApplication::createSceneManager() {
    sceneManager = root->createSceneManager();
    sceneManager->addRenderQueueListener(overlaySystem.get());
}

void ViewerApplication::setUpCamera() {
    camera = sceneManager->createCamera(CAMERA_NAME);
    cameraNode = sceneManager->getRootSceneNode()->createChildSceneNode(CAMERA_NAME);
    cameraNode->attachObject(camera);
    // Turning towards a point keeps the world's up axis up, as the engine's camera does.
    cameraNode->setFixedYawAxis(true);
    cameraNode->setPosition(Ogre::Vector3::ZERO);
    cameraNode->lookAt(Ogre::Vector3::NEGATIVE_UNIT_Z, Ogre::Node::TS_PARENT);
    camera->setNearClipDistance(CAMERA_NEAR_CLIP);
}

void ViewerApplication::finishSetUp() {}

void ViewerApplication::loadScene() {
    // Scripts (materials, fonts, overlays) are parsed here, once the window exists and
    // before the scene looks anything up; the core's first, so that their names win.
    resourceScripts = std::make_unique<ResourceScripts>(VIEWER_RESOURCE_GROUP, diagnostics);
    resourceScripts->initialise({CORE_ARCHIVE, CORE_SEARCH_PATH});
    sceneLoader = std::make_unique<SceneLoader>(diagnostics);
    // A scene that fails to load, or stops half way, leaves what was built and does not
    // stop the viewer.
    try {
        sceneLoader->load(sceneFile, sceneManager, window, false, nullptr);
    } catch (const Ogre::Exception& error) {
        DebugOutput::line("ViewerApplication::loadScene(): \"" + sceneFile +
                          "\" stopped loading: " + error.getDescription());
    }
    nodeAnimations.bind(*sceneManager);
    // The loader has no viewport: the scene's background colour is put on it here.
    if (const std::optional<Ogre::ColourValue>& background = sceneLoader->getBackgroundColour();
        background && window != nullptr && window->getNumViewports() > 0)
        window->getViewport(0)->setBackgroundColour(*background);
    if (window != nullptr && !window->isFullScreen() && !windowHidden)
        WindowSystem::setWindowHidden(window, false);
}

void ViewerApplication::setUpViewport() {
    Ogre::Viewport* viewport = window->addViewport(camera, 0, 0.0f, 0.0f, 1.0f, 1.0f);
    viewport->setBackgroundColour(Ogre::ColourValue(0.0f, 0.0f, 0.0f, 1.0f));
}

void ViewerApplication::addResourceLocations() {
    Ogre::ResourceGroupManager& resources = Ogre::ResourceGroupManager::getSingleton();
    if (!resources.resourceGroupExists(VIEWER_RESOURCE_GROUP))
        resources.createResourceGroup(VIEWER_RESOURCE_GROUP);
    for (const auto& [location, type] : deferredLocations)
        registerLocation(location, type, recursiveLocations.count(location) > 0);
    deferredLocations.clear();
    recursiveLocations.clear();
    registerLocation(CORE_ARCHIVE, "Zip", false);
    registerLocation(CORE_SEARCH_PATH, "FileSystem", false);
}

std::vector<std::string> ViewerApplication::registerLocation(const std::string& location,
                                                             const std::string& type,
                                                             bool recursive) {
    return ResourceLocations::add(location, type, VIEWER_RESOURCE_GROUP, recursive,
                                  [&type](const std::string& refused, const std::string& reason) {
                                      DebugOutput::line(
                                          "ViewerApplication::addResourceLocation(): \"" + refused +
                                          "\" (" + type + ") is left out: " + reason);
                                  });
}

void ViewerApplication::setLocalVelocity(const FloatVector3& velocity) {
    if (cameraGuard().admits("setLocalVelocity", toOgre(velocity)))
        cameraMotion.setLocalVelocity(toOgre(velocity));
}

void ViewerApplication::setCameraPosition(const FloatVector3& position) {
    if (cameraNode != nullptr && cameraGuard().admits("setCameraPosition", toOgre(position)))
        cameraNode->setPosition(toOgre(position));
}

void ViewerApplication::setWorldVelocity(const FloatVector3& velocity) {
    if (cameraGuard().admits("setWorldVelocity", toOgre(velocity)))
        cameraMotion.setWorldVelocity(toOgre(velocity));
}

void ViewerApplication::setMoveTarget(const FloatVector3& target) {
    if (cameraGuard().admits("setMoveTarget", toOgre(target)))
        cameraMotion.setMoveTarget(toOgre(target));
}

void ViewerApplication::rotateDegrees(const float& pitch, const float& yaw, const float& roll) {
    if (cameraNode == nullptr || !cameraGuard().admitsDegrees("rotateDegrees", pitch, yaw, roll))
        return;
    cameraNode->pitch(Ogre::Radian(Ogre::Math::DegreesToRadians(pitch)));
    // Yaw turns about the world's up axis, as the engine's free camera does; pitch and roll
    // about the camera's own axes.
    cameraNode->yaw(Ogre::Radian(Ogre::Math::DegreesToRadians(yaw)), Ogre::Node::TS_PARENT);
    cameraNode->roll(Ogre::Radian(Ogre::Math::DegreesToRadians(roll)));
}

void ViewerApplication::setOrientation(const FloatQuaternion& orientation) {
    if (!cameraGuard().admits("setOrientation", toOgre(orientation)))
        return;
    if (cameraNode != nullptr)
        cameraNode->setOrientation(toOgre(orientation));
    cameraMotion.endTurn();
}

FloatVector3 ViewerApplication::getPosition() {
    if (cameraNode == nullptr)
        return {0.0f, 0.0f, 0.0f};
    return fromOgre(cameraNode->getPosition());
}

FloatQuaternion ViewerApplication::getOrientation() {
    if (cameraNode == nullptr)
        return {1.0f, 0.0f, 0.0f, 0.0f};
    const Ogre::Quaternion& orientation = cameraNode->getOrientation();
    return {orientation.w, orientation.x, orientation.y, orientation.z};
}

void ViewerApplication::startRotationSlerp(const float& rate, const FloatQuaternion& from,
                                           const FloatQuaternion& to) {
    // The camera turns at any rate but 0, backwards too.
    if (cameraGuard().admitsTurn("startRotationSlerp", rate, rate != 0.0f, toOgre(from),
                                 toOgre(to)))
        cameraMotion.startTurn(rate, toOgre(from), toOgre(to));
}

ISceneObject* ViewerApplication::getSceneObject(const std::string& entityName) {
    // The entity is looked up on every call: a name whose entity is gone gives null,
    // although its control stays in the registry.
    if (sceneManager == nullptr)
        return nullptr;
    if (ISceneObject* object = objectRegistry.find(sceneManager, entityName))
        return object;
    return nodeAnimations.find(entityName);
}

void ViewerApplication::setTimeScale(float scale) {
    // A scale that is not finite would make every step of every object not a number: each
    // animation, slide, movement and turn would stop, and slides would say so every frame.
    if (!std::isfinite(scale)) {
        DebugOutput::line(
            "ViewerApplication::setTimeScale(): " + Ogre::StringConverter::toString(scale) +
            " is not a finite time scale; it stays at " +
            Ogre::StringConverter::toString(timeScale));
        return;
    }
    timeScale = scale;
}

unsigned int ViewerApplication::getWindowWidth() {
    return window != nullptr ? window->getWidth() : 0;
}

unsigned int ViewerApplication::getWindowHeight() {
    return window != nullptr ? window->getHeight() : 0;
}

bool ViewerApplication::restoreLoadedScene() {
    if (sceneManager == nullptr)
        return false;
    // Engine errors stay inside the plug-in; what was put back before one stays.
    try {
        if (!loadedScene.restore(*sceneManager, objectRegistry, cameraMotion))
            return false;
        nodeAnimations.resetMotion();
        return true;
    } catch (const Ogre::Exception& error) {
        DebugOutput::line("ViewerApplication::restoreLoadedScene(): " + error.getDescription());
        return false;
    }
}

void ViewerApplication::advanceScene(float seconds) {
    // Replayed frames write no lines: they would repeat what the frames played already said.
    if (cameraNode != nullptr)
        moveScene(seconds, false, "advanceScene");
}

bool ViewerApplication::openTarget(std::uint32_t width, std::uint32_t height) {
    if (window == nullptr || cameraNode == nullptr) {
        DebugOutput::line("ViewerApplication::openTarget(): the viewer has not started; there "
                          "is no target to draw");
        return false;
    }
    // The old target goes first: the new one takes its name.
    offscreen.reset();
    const Ogre::ColourValue background = window->getNumViewports() > 0
                                             ? window->getViewport(0)->getBackgroundColour()
                                             : Ogre::ColourValue::Black;
    std::string error;
    offscreen =
        OffscreenTarget::create(*root, *sceneManager, *camera, width, height, background, error);
    if (!offscreen) {
        DebugOutput::line("ViewerApplication::openTarget(): a target of " + std::to_string(width) +
                          "x" + std::to_string(height) + " cannot be made: " +
                          DebugOutput::oneLine(error) + "; the window is drawn as before");
        camera->setAspectRatio(static_cast<Ogre::Real>(window->getWidth()) /
                               static_cast<Ogre::Real>(window->getHeight()));
        return false;
    }
    window->setAutoUpdated(false);
    if (!window->isFullScreen())
        WindowSystem::setWindowHidden(window, true);
    // Before the first frame, a start camera that frames the scene frames it for the
    // target's shape, and the timeline's start is that camera.
    if (!anyFrameRun && sceneLoader && startCamera.mode() != StartCamera::Mode::ORIGIN) {
        startCamera.place(*cameraNode, *camera, *sceneManager, sceneLoader->getFirstCamera());
        loadedScene.capture(*sceneManager, cameraMotion);
    }
    return true;
}

void ViewerApplication::showOverlayElement(const std::string& name) {
    if (offscreen)
        offscreen->showOverlayElement(name);
}

void ViewerApplication::setDrawing(bool drawing) {
    if (offscreen)
        offscreen->setDrawing(drawing);
}

bool ViewerApplication::readFrame(std::uint8_t* pixels, std::size_t rowBytes) {
    if (!offscreen || pixels == nullptr)
        return false;
    try {
        return offscreen->read(pixels, rowBytes);
    } catch (const Ogre::Exception& error) {
        DebugOutput::line("ViewerApplication::readFrame(): " + error.getDescription());
        return false;
    }
}

std::uint32_t ViewerApplication::getTargetWidth() {
    return offscreen ? offscreen->width() : 0;
}

std::uint32_t ViewerApplication::getTargetHeight() {
    return offscreen ? offscreen->height() : 0;
}

FloatVector3 ViewerApplication::getLocalVelocity() const {
    return fromOgre(cameraMotion.getLocalVelocity());
}

FloatVector3 ViewerApplication::getWorldVelocity() const {
    return fromOgre(cameraMotion.getWorldVelocity());
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
        const char* recursive = path->Attribute("recursive");
        addResourceLocation(source, type != nullptr ? type : "FileSystem",
                            recursive != nullptr && Ogre::StringConverter::parseBool(recursive));
    }
    if (const TiXmlElement* scene = environment->FirstChildElement("scene")) {
        const char* source = scene->Attribute("src");
        if (source != nullptr)
            setSceneFile(source);
        else
            DebugOutput::line("SceneViewer: a \"scene\" element without \"src\" (row " +
                              std::to_string(scene->Row()) + ") is skipped");
    }
    startCamera.configure(environment->FirstChildElement("camera"));
    // The title says what plays: "corvane play" names the scene and the script. A run that
    // draws only off-screen keeps the window hidden.
    if (const TiXmlElement* windowElement = environment->FirstChildElement("window")) {
        const char* title = windowElement->Attribute("title");
        const char* visible = windowElement->Attribute("visible");
        windowHidden = visible != nullptr && std::string(visible) == "false";
        if (title != nullptr && *title != '\0')
            windowTitle = title;
        else if (visible == nullptr)
            DebugOutput::line("SceneViewer: a \"window\" element without a \"title\" (row " +
                              std::to_string(windowElement->Row()) + ") is skipped");
    }
}

bool ViewerApplication::start() {
    const std::string previous = CurrentDirectory::get();
    // The suffix is appended as it is: no separator is added or removed.
    startDirectory = previous + START_DIRECTORY_SUFFIX;
    CurrentDirectory::set(startDirectory);
    struct Restore {
        const std::string& directory;
        ~Restore() { CurrentDirectory::set(directory); }
    } restore{previous};
    try {
        return setUp();
    } catch (const Ogre::Exception& error) {
        // Engine errors stay inside the plug-in: the host sees a viewer that did not start.
        DebugOutput::line("ViewerApplication::start(): " + error.getDescription());
        return false;
    }
}

bool ViewerApplication::renderFrame(float seconds) {
    // A set-up that stopped part way (after the window, before the camera) renders nothing.
    if (window == nullptr || cameraNode == nullptr)
        return false;
    WindowSystem::pumpMessages(window);
    statistics.show(window->getStatistics(), debugText);
    moveScene(seconds, true, "renderFrame");
    anyFrameRun = true;
    if (window->isClosed())
        return false;
    try {
        if (offscreen)
            return root->renderOneFrame(seconds);
        return root->renderOneFrame();
    } catch (const Ogre::Exception& error) {
        DebugOutput::line("ViewerApplication::renderFrame(): " + error.getDescription());
        return false;
    }
}

void ViewerApplication::moveScene(float seconds, bool reportTargets, const char* operation) {
    cameraMotion.advance(*cameraNode, seconds, timeScale, cameraGuard(), operation);
    if (timeScale != 0.0f) {
        const double scaled = static_cast<double>(seconds) * static_cast<double>(timeScale);
        objectRegistry.update(scaled, reportTargets);
        // The nodes' own animations play on the playback's clock, whose time scale comes
        // from its first frame on, after the viewer's: the viewer's first frame, on the
        // scale it starts with, is no time of that clock (a seek's replay starts paused).
        if (sceneClockRunning)
            nodeAnimations.update(scaled);
    }
    sceneClockRunning = true;
}

void ViewerApplication::stop() {}

void ViewerApplication::addResourceLocation(const std::string& location, const std::string& type,
                                            bool recursive) {
    if (!root) {
        if (deferredLocations.emplace(location, type).second && recursive)
            recursiveLocations.insert(location);
        return;
    }
    // The process has its own current directory again once set-up is over.
    const std::string path =
        std::filesystem::path(location).is_relative() && !startDirectory.empty()
            ? startDirectory + "/" + location
            : location;
    // Only the locations the group did not hold yet are registered, and their scripts read.
    for (const std::string& added : registerLocation(path, type, recursive))
        if (resourceScripts)
            resourceScripts->parseLocation(added);
}

void ViewerApplication::setSceneFile(const std::string& file) {
    sceneFile = file;
}

} // namespace corvane
