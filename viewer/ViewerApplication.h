#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <OgreQuaternion.h>
#include <OgreVector.h>

#include "framework/ICameraControl.h"
#include "framework/IFrameSource.h"
#include "framework/ISceneAccess.h"
#include "framework/ISceneTimeline.h"
#include "framework/IViewerCore.h"
#include "framework/PluginInfo.h"
#include "platform/DiagnosticSink.h"
#include "viewer/CameraMotion.h"
#include "viewer/SceneSnapshot.h"
#include "viewer/StartCamera.h"
#include "viewer/StatisticsDisplay.h"
#include "viewer/control/NodeAnimationRegistry.h"
#include "viewer/control/SceneObjectRegistry.h"

class TiXmlElement;

namespace Ogre {
class Camera;
class ConfigDialog;
class LogManager;
class OverlaySystem;
class Root;
class SceneNode;
} // namespace Ogre

namespace corvane {

class EngineLogLines;
class OffscreenTarget;
class ResourceReadGuard;
class ResourceScripts;
class SceneLoader;

// The one object of the viewer plug-in: owns the engine's root object, the window, the
// scene and its controllable objects, and serves IViewerCore (at its start),
// ICameraControl, ISceneAccess, ISceneTimeline and IFrameSource to other plug-ins.
class ViewerApplication : public IViewerCore,
                          public ICameraControl,
                          public ISceneAccess,
                          public ISceneTimeline,
                          public IFrameSource {
public:
    ViewerApplication();

    // Slots 0 to 2, shared by the three interfaces.
    HRESULT QueryInterface(const UUID& iid, void** out) override;
    std::int32_t AddRef() override;
    std::int32_t Release() override;

    // IViewerCore, slots 3 and 4.
    Ogre::RenderWindow* getRenderWindow() override;
    Ogre::SceneManager* getSceneManager() override;

    // The primary table goes on with the destructor and the steps of the start sequence,
    // in this order; tests replace steps.
    virtual ~ViewerApplication();
    // The start sequence: root object, resource locations, configuration and window,
    // scene manager, camera, viewport, scene. False when no render configuration was
    // restored or confirmed; nothing after the configuration runs then.
    virtual bool setUp();
    // Restores "ogre.cfg", else shows the configuration dialog; then creates the window,
    // hidden while the scene loads. False when the dialog was cancelled.
    virtual bool configure();
    virtual void createSceneManager();
    // The camera "PlayerCam" at the origin, looking along negative Z, near clip 5.
    virtual void setUpCamera();
    virtual void finishSetUp();
    // Makes the resources ready, loads the scene file, and shows the window.
    virtual void loadScene();
    // One viewport over the whole window, opaque black.
    virtual void setUpViewport();
    // The kept locations in byte-wise order, then the core archive and search path.
    virtual void addResourceLocations();
    // The engine's root object over "plugins.cfg", "ogre.cfg" and "Ogre.log"; null when no
    // display can be opened.
    virtual std::unique_ptr<Ogre::Root> createRoot();

    // ICameraControl.
    void setLocalVelocity(const FloatVector3& velocity) override;
    void setCameraPosition(const FloatVector3& position) override;
    void setWorldVelocity(const FloatVector3& velocity) override;
    void setMoveTarget(const FloatVector3& target) override;
    void rotateDegrees(const float& pitch, const float& yaw, const float& roll) override;
    void setOrientation(const FloatQuaternion& orientation) override;
    FloatVector3 getPosition() override;
    FloatQuaternion getOrientation() override;
    void startRotationSlerp(const float& rate, const FloatQuaternion& from,
                            const FloatQuaternion& to) override;

    // ISceneAccess. A name that is no entity's may be an animated scene node's
    // (NodeAnimationControl).
    ISceneObject* getSceneObject(const std::string& entityName) override;
    void setTimeScale(float scale) override;
    unsigned int getWindowWidth() override;
    unsigned int getWindowHeight() override;

    // ISceneTimeline: the scene as captured at the end of set-up, and one frame's motion.
    bool restoreLoadedScene() override;
    void advanceScene(float seconds) override;

    // IFrameSource: frames drawn off-screen (OffscreenTarget) instead of the window.
    bool openTarget(std::uint32_t width, std::uint32_t height) override;
    void showOverlayElement(const std::string& name) override;
    void setDrawing(bool drawing) override;
    bool readFrame(std::uint8_t* pixels, std::size_t rowBytes) override;
    std::uint32_t getTargetWidth() override;
    std::uint32_t getTargetHeight() override;

    // The plug-in's entry points.
    PLUGIN_INFO pluginInfo() const;
    // Reads the "searchpath" children (in document order), the first "scene" child, the
    // first "camera" child, and the first "window" child: <window title="..."/> titles the
    // window instead of WINDOW_TITLE, and visible="false" keeps it hidden, for runs that
    // draw only off-screen.
    void parseEnvironment(const TiXmlElement* environment);
    // Runs setUp with the start directory current, and makes the previous directory
    // current again however setUp ends.
    bool start();
    // One frame of `seconds`: window events, statistics, camera motion, scene objects,
    // rendering. False once the window is closed (nothing is rendered then). With an
    // off-screen target the engine's own frame work (particles, material animations) gets
    // the frame's `seconds` too, as a film's frames need, not the time that passed.
    bool renderFrame(float seconds);
    void stop();

    // Registers a resource location with the engine at once after set-up, its scripts
    // parsed; before, keeps it for set-up, where a location already kept keeps its first
    // type. A `recursive` location also searches every folder below it. Relative
    // locations are relative to the start directory, also after set-up.
    void addResourceLocation(const std::string& location, const std::string& type,
                             bool recursive = false);
    void setSceneFile(const std::string& file);
    // The dialog configure() shows when no stored configuration is restored; the engine's
    // native dialog when none is set. Not owned.
    void setConfigDialog(Ogre::ConfigDialog* dialog) { configDialog = dialog; }
    // The text shown in the statistics' debug line; empty unless set.
    void setDebugText(const std::string& text) { debugText = text; }

    const std::map<std::string, std::string>& pendingResourceLocations() const {
        return deferredLocations;
    }
    const std::string& getSceneFile() const { return sceneFile; }
    const std::string& getWindowTitle() const { return windowTitle; }
    Ogre::Camera* getCamera() const { return camera; }
    const SceneObjectRegistry& sceneObjects() const { return objectRegistry; }
    float getTimeScale() const { return timeScale; }
    float getSlerpRate() const { return cameraMotion.getTurnRate(); }
    float getSlerpProgress() const { return cameraMotion.getTurnProgress(); }
    FloatVector3 getLocalVelocity() const;
    FloatVector3 getWorldVelocity() const;

    // Appended to the process's current directory to give the start directory.
    static const char* const START_DIRECTORY_SUFFIX;
    static const char* const WINDOW_TITLE;
    static const char* const CORE_ARCHIVE;
    static const char* const CORE_SEARCH_PATH;

private:
    // Registers one location with the engine, a recursive one folder by folder; a location
    // the engine cannot open gives one diagnostic line and is left out. Returns the
    // locations registered.
    std::vector<std::string> registerLocation(const std::string& location, const std::string& type,
                                              bool recursive);
    // The configuration dialog; true when the user confirmed a render system.
    bool showConfigDialog();
    // The camera motion and the object updates of a frame; `reportTargets` as the
    // registry's update takes it, `operation` names the entry point in the camera's lines.
    void moveScene(float seconds, bool reportTargets, const char* operation);
    // Checks what other plug-ins hand the camera before it reaches the engine.
    TransformGuard cameraGuard();

    // Where the scene loader, the resource scripts and the guards write their lines; made
    // first, so that it outlives all of them.
    StandardErrorSink diagnostics;
    // Engine objects first: members go in reverse order, so the scene loader and the
    // scene objects are gone before the root object takes the scene manager with it.
    // The engine's log goes to "Ogre.log" only, so that the diagnostic channel stays
    // readable; made before the root object and gone after it.
    std::unique_ptr<Ogre::LogManager> logManager;
    std::unique_ptr<Ogre::Root> root;
    // Fonts and overlays; made once, right after the root object, gone before it.
    std::unique_ptr<Ogre::OverlaySystem> overlaySystem;
    // What the engine only logs, told as diagnostic lines; and the files it opens, looked at
    // before it reads them. Made with the root object, gone before it.
    std::unique_ptr<ResourceReadGuard> readGuard;
    std::unique_ptr<EngineLogLines> engineLogLines;
    Ogre::Camera* camera = nullptr;
    // The camera hangs on a node of its own, which carries its position and orientation.
    Ogre::SceneNode* cameraNode = nullptr;
    Ogre::SceneManager* sceneManager = nullptr;
    Ogre::RenderWindow* window = nullptr;
    // Drawn instead of the window once a plug-in asks for frames off-screen.
    std::unique_ptr<OffscreenTarget> offscreen;
    bool windowHidden = false;
    bool anyFrameRun = false;
    std::unique_ptr<SceneLoader> sceneLoader;
    // Parses the resource group's scripts, each on its own; made when the scene loads.
    std::unique_ptr<ResourceScripts> resourceScripts;
    std::int32_t referenceCount = 0;
    std::map<std::string, std::string> deferredLocations;
    // The kept locations that search every folder below them.
    std::set<std::string> recursiveLocations;
    // Where set-up ran; relative locations given after it are taken from here.
    std::string startDirectory;
    std::string sceneFile;
    std::string windowTitle = WINDOW_TITLE;
    StartCamera startCamera;
    CameraMotion cameraMotion;
    SceneObjectRegistry objectRegistry{&diagnostics};
    // The scene's animated nodes, which scripts reach by the node's name.
    NodeAnimationRegistry nodeAnimations{&diagnostics};
    // Whether a frame has moved the scene since the start.
    bool sceneClockRunning = false;
    float timeScale = 1.0f;
    StatisticsDisplay statistics;
    // The scene right after set-up, for the timeline.
    SceneSnapshot loadedScene;
    Ogre::ConfigDialog* configDialog = nullptr;
    std::string debugText;
};

} // namespace corvane
