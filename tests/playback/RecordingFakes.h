#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/IActionInput.h"
#include "framework/ICameraControl.h"
#include "framework/IGuiElement.h"
#include "framework/IGuiOverlay.h"
#include "framework/IGuiProgressBar.h"
#include "framework/ISceneAccess.h"
#include "framework/ISceneObject.h"
#include "framework/ISound.h"
#include "framework/ISoundBank.h"
#include "playback/PlaybackController.h"
#include "tests/support/FakeHost.h"
#include "tests/support/TemporaryFolder.h"

namespace corvane::testing {

// Every call on the fakes of one rig, in order, as "owner.operation(arguments)" with
// numbers as the stream writes them: "scene:entity_door.setPosition(1, 2, 3)".
class CallLog {
public:
    void add(std::string call) { calls.push_back(std::move(call)); }
    // The calls that are not queries (get..., was..., QueryInterface).
    std::vector<std::string> effects() const;
    // The calls whose text contains `part`.
    std::vector<std::string> containing(const std::string& part) const;
    // Off for benchmarks, which count the calls only.
    bool keep = true;
    std::size_t count = 0;
    std::vector<std::string> calls;
};

// Slots 0 to 2 of a fake provider: answers its own id, counts without freeing, and logs
// only the granted queries.
template <class Interface>
class FakeComObject : public Interface {
public:
    FakeComObject(CallLog& log, std::string label, const UUID& iid)
        : log(log), label(std::move(label)), iid(iid) {}
    virtual ~FakeComObject() = default;
    HRESULT QueryInterface(const UUID& id, void** out) override {
        if (id != iid)
            return E_FAIL;
        record("QueryInterface()");
        *out = static_cast<Interface*>(this);
        return ++references, S_OK;
    }
    std::int32_t AddRef() override { return ++references; }
    std::int32_t Release() override { return --references; }

    std::int32_t references = 0;

protected:
    void record(const std::string& call) {
        ++log.count;
        if (log.keep)
            log.add(label + "." + call);
    }
    CallLog& log;
    const std::string label;
    const UUID iid;
};

class FakeSceneObject : public ISceneObject {
public:
    FakeSceneObject(CallLog& log, std::string label) : log(log), label(std::move(label)) {}
    void setAnimationRate(const std::string& anim, double rate) override;
    void setAnimationStopTime(const std::string& anim, double time) override;
    void stopAnimation(const std::string& anim) override;
    void setAnimationEnabled(const std::string& anim, bool enabled) override;
    void setAnimationLoop(const std::string& anim, bool loop) override;
    void setAnimationWeight(const std::string& anim, double weight) override;
    void setWeightSlideRate(const std::string& anim, double rate) override;
    void setWeightSlideTarget(const std::string& anim, double weight) override;
    void setAnimationTimePosition(const std::string& anim, double time) override;
    FloatVector3 getPosition() override;
    FloatVector3 getWorldPosition() override;
    void translate(const FloatVector3& offset) override;
    void setPosition(const FloatVector3& position) override;
    void setVelocity(const FloatVector3& velocity) override;
    FloatVector3 getVelocity() override;
    void setMoveTarget(const FloatVector3& target) override;
    FloatQuaternion getOrientation() override;
    void setOrientationDegrees(const float& x, const float& y, const float& z) override;
    void setOrientation(const FloatQuaternion& orientation) override;
    void rotateDegrees(const float& x, const float& y, const float& z) override;
    void rotate(const FloatQuaternion& rotation) override;
    void startRotationSlerp(const float& rate, const FloatQuaternion& from,
                            const FloatQuaternion& to) override;
    void printTransform() override;
    void attachToBone(const std::string& bone, ISceneObject* other,
                      const FloatQuaternion& offsetOrientation,
                      const FloatVector3& offsetPosition) override;
    void detachFromBone(const std::string& objectName) override;
    void attachToSceneNode(const std::string& nodeName) override;
    const std::string& getName() override { return label; }

private:
    void record(const std::string& call);
    CallLog& log;
    const std::string label;
};

// Objects are labelled "<scene label>:<entity>".
class FakeSceneAccess : public FakeComObject<ISceneAccess> {
public:
    FakeSceneAccess(CallLog& log, std::string label);
    FakeSceneObject& add(const std::string& entity);
    ISceneObject* getSceneObject(const std::string& entityName) override;
    void setTimeScale(float scale) override;
    unsigned int getWindowWidth() override { return 640; }
    unsigned int getWindowHeight() override { return 480; }

private:
    std::map<std::string, std::unique_ptr<FakeSceneObject>> objects;
};

class FakeCameraControl : public FakeComObject<ICameraControl> {
public:
    FakeCameraControl(CallLog& log, std::string label);
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

    FloatQuaternion orientation{0.5f, 0.5f, 0.5f, 0.5f};
};

class FakeProgressBar : public FakeComObject<IGuiProgressBar> {
public:
    FakeProgressBar(CallLog& log, std::string label);
    float getProgress() override { return 0.0f; }
    void setCaption(const std::string& caption) override;
    void setProgress(float percent) override;
    std::int32_t Release() override;
};

// Labelled "<overlay label>:<element name>". A click is reported once.
class FakeGuiElement : public FakeComObject<IGuiElement> {
public:
    FakeGuiElement(CallLog& log, std::string label);
    HRESULT QueryInterface(const UUID& id, void** out) override;
    std::int32_t Release() override;
    void setText(const std::string& text) override;
    std::string getText() override { return text; }
    bool wasClicked() override;
    void show() override;
    void hide() override;
    bool wasCloseClicked() override;
    bool isVisible() override { return visible; }
    void setPosition(float left, float top) override;
    void setSize(float width, float height) override;
    void setInteractive(std::uint32_t interactive) override;

    bool clicked = false;
    bool closeClicked = false;
    bool visible = true;
    std::string text;
    bool grantsProgressBar = true; // answered only by the time bar
    FakeProgressBar progressBar;
};

class FakeGuiOverlay : public FakeComObject<IGuiOverlay> {
public:
    // Every element that playback uses, unless the list names fewer.
    FakeGuiOverlay(CallLog& log, std::string label, std::vector<std::string> names = ALL_ELEMENTS);
    FakeGuiElement& element(const std::string& name) { return *elements.at(name); }
    IGuiElement* getElement(const std::string& name) override;
    void notifyPaused() override;
    void notifyResumed() override;

    static const std::vector<std::string> ALL_ELEMENTS;

private:
    std::map<std::string, std::unique_ptr<FakeGuiElement>> elements;
};

class FakeActionInput : public FakeComObject<IActionInput> {
public:
    FakeActionInput(CallLog& log, std::string label);
    float getActionValue(const std::string& action) override;
    // Triggered actions, held until cleared.
    std::map<std::string, float> values;
};

class FakeSound : public FakeComObject<ISound> {
public:
    FakeSound(CallLog& log, std::string label);
    void play() override;
    void stop() override;
    bool isPlaying() override { return false; }
};

// Sounds are labelled "<bank label>:<name>".
class FakeSoundBank : public FakeComObject<ISoundBank> {
public:
    FakeSoundBank(CallLog& log, std::string label);
    FakeSound& add(const std::string& name);
    ISound* findSound(const std::string& name) override;

private:
    std::map<std::string, std::unique_ptr<FakeSound>> sounds;
};

// A controller with one recording fake of every provider, offered by a fake host in the
// order input, camera, scene, overlay, sounds once `offerAll` has run.
class PlaybackRig {
public:
    PlaybackRig();
    void offerAll();
    // Writes the script as "keyframes.xml" into a folder of its own and starts there.
    void start(const std::string& keyframesXml);
    // Runs frames until one returns false or `count` have run; false if one did.
    bool frames(int count, float seconds);
    // Clicks the button of that name, or the close box for "<window> Close", for the next poll.
    void click(const std::string& what);

    CallLog log;
    FakeHost host;
    FakeActionInput input{log, "input"};
    FakeCameraControl camera{log, "camera"};
    FakeSceneAccess scene{log, "scene"};
    FakeGuiOverlay overlay{log, "overlay"};
    FakeSoundBank sounds{log, "sounds"};
    PlaybackController controller;
    TemporaryFolder folder;
};

// A script of <keyframe> elements.
std::string keyframesXml(const std::string& keyframes);

} // namespace corvane::testing
