#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "framework/ICameraControl.h"
#include "framework/ISceneAccess.h"
#include "framework/IViewerCore.h"
#include "framework/PluginInfo.h"

class TiXmlElement;

namespace corvane {

// The one object of the viewer plug-in: owns the engine's root object, the window, the
// scene and its controllable objects, and serves IViewerCore (at its start),
// ICameraControl and ISceneAccess to other plug-ins.
class ViewerApplication : public IViewerCore, public ICameraControl, public ISceneAccess {
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
    virtual bool setUp();
    virtual bool configure();
    virtual void createSceneManager();
    virtual void setUpCamera();
    virtual void finishSetUp();
    virtual void loadScene();
    virtual void setUpViewport();
    virtual void addResourceLocations();

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

    // ISceneAccess.
    ISceneObject* getSceneObject(const std::string& entityName) override;
    void setTimeScale(float scale) override;
    unsigned int getWindowWidth() override;
    unsigned int getWindowHeight() override;

    // The plug-in's entry points.
    PLUGIN_INFO pluginInfo() const;
    // Reads the "searchpath" children (in document order) and the first "scene" child.
    void parseEnvironment(const TiXmlElement* environment);
    // Runs setUp with the start directory current, and makes the previous directory
    // current again however setUp ends.
    bool start();
    bool renderFrame(float seconds);
    void stop();

    // Registers a resource location with the engine at once after set-up; before, keeps
    // it for set-up, where a location already kept keeps its first type.
    void addResourceLocation(const std::string& location, const std::string& type);
    void setSceneFile(const std::string& file);

    const std::map<std::string, std::string>& pendingResourceLocations() const {
        return deferredLocations;
    }
    const std::string& getSceneFile() const { return sceneFile; }

    // Appended to the process's current directory to give the start directory.
    static const char* const START_DIRECTORY_SUFFIX;

private:
    std::int32_t referenceCount = 0;
    std::map<std::string, std::string> deferredLocations;
    std::string sceneFile;
};

} // namespace corvane
