#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
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

std::string format(float value);
std::string format(const FloatVector3& v);
std::string format(const FloatQuaternion& q);
// "operation(name, value)", the value as a float or as true/false.
std::string format(const char* operation, const std::string& name, double value);
std::string format(const char* operation, const std::string& name, bool value);

// Writes "<label>.<call>" into the log.
class Recorder {
public:
    Recorder(CallLog& log, std::string label) : log(log), label(std::move(label)) {}
    void record(const std::string& call) {
        ++log.count;
        if (log.keep)
            log.add(label + "." + call);
    }
    CallLog& log;
    const std::string label;
};

// Slots 0 to 2 of a fake provider: answers its own id, counts without freeing, and logs
// only the granted queries.
template <class Interface>
class FakeComObject : public Interface, public Recorder {
public:
    FakeComObject(CallLog& log, std::string label, const UUID& iid)
        : Recorder(log, std::move(label)), iid(iid) {}
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
    const UUID iid;
};

class FakeSceneObject : public ISceneObject, public Recorder {
public:
    using Recorder::Recorder;
    using V = FloatVector3;
    using Q = FloatQuaternion;
    using S = std::string;
    void setAnimationRate(const S& a, double v) override {
        record(format("setAnimationRate", a, v));
    }
    void setAnimationStopTime(const S& a, double v) override {
        record(format("setAnimationStopTime", a, v));
    }
    void stopAnimation(const S& a) override { record("stopAnimation(" + a + ")"); }
    void setAnimationEnabled(const S& a, bool v) override {
        record(format("setAnimationEnabled", a, v));
    }
    void setAnimationLoop(const S& a, bool v) override { record(format("setAnimationLoop", a, v)); }
    void setAnimationWeight(const S& a, double v) override {
        record(format("setAnimationWeight", a, v));
    }
    void setWeightSlideRate(const S& a, double v) override {
        record(format("setWeightSlideRate", a, v));
    }
    void setWeightSlideTarget(const S& a, double v) override {
        record(format("setWeightSlideTarget", a, v));
    }
    void setAnimationTimePosition(const S& a, double v) override {
        record(format("setAnimationTimePosition", a, v));
    }
    V getPosition() override { return record("getPosition()"), V{0, 0, 0}; }
    V getWorldPosition() override { return record("getWorldPosition()"), V{0, 0, 0}; }
    void translate(const V& v) override { record("translate" + format(v)); }
    void setPosition(const V& v) override { record("setPosition" + format(v)); }
    void setVelocity(const V& v) override { record("setVelocity" + format(v)); }
    V getVelocity() override { return record("getVelocity()"), V{0, 0, 0}; }
    void setMoveTarget(const V& v) override { record("setMoveTarget" + format(v)); }
    Q getOrientation() override { return record("getOrientation()"), Q{1, 0, 0, 0}; }
    void setOrientationDegrees(const float& x, const float& y, const float& z) override {
        record("setOrientationDegrees" + format(V{x, y, z}));
    }
    void setOrientation(const Q& q) override { record("setOrientation" + format(q)); }
    void rotateDegrees(const float& x, const float& y, const float& z) override {
        record("rotateDegrees" + format(V{x, y, z}));
    }
    void rotate(const Q& q) override { record("rotate" + format(q)); }
    void startRotationSlerp(const float& rate, const Q& from, const Q& to) override {
        record("startRotationSlerp(" + format(rate) + ", " + format(from) + ", " + format(to) +
               ")");
    }
    void printTransform() override { record("printTransform()"); }
    void attachToBone(const S& bone, ISceneObject* other, const Q& orientation,
                      const V& position) override {
        record("attachToBone(" + bone + ", " + other->getName() + ", " + format(orientation) +
               ", " + format(position) + ")");
    }
    void detachFromBone(const S& name) override { record("detachFromBone(" + name + ")"); }
    void attachToSceneNode(const S& name) override { record("attachToSceneNode(" + name + ")"); }
    const S& getName() override { return label; }
};

// Objects are labelled "<scene label>:<entity>".
class FakeSceneAccess : public FakeComObject<ISceneAccess> {
public:
    FakeSceneAccess(CallLog& log, std::string label);
    FakeSceneObject& add(const std::string& entity);
    ISceneObject* getSceneObject(const std::string& entityName) override;
    void setTimeScale(float scale) override { record("setTimeScale(" + format(scale) + ")"); }
    unsigned int getWindowWidth() override { return 640; }
    unsigned int getWindowHeight() override { return 480; }

private:
    std::map<std::string, std::unique_ptr<FakeSceneObject>> objects;
};

class FakeCameraControl : public FakeComObject<ICameraControl> {
public:
    using V = FloatVector3;
    using Q = FloatQuaternion;
    FakeCameraControl(CallLog& log, std::string label);
    void setLocalVelocity(const V& v) override { record("setLocalVelocity" + format(v)); }
    void setCameraPosition(const V& v) override { record("setCameraPosition" + format(v)); }
    void setWorldVelocity(const V& v) override { record("setWorldVelocity" + format(v)); }
    void setMoveTarget(const V& v) override { record("setMoveTarget" + format(v)); }
    void rotateDegrees(const float& pitch, const float& yaw, const float& roll) override {
        record("rotateDegrees" + format(V{pitch, yaw, roll}));
    }
    void setOrientation(const Q& q) override { record("setOrientation" + format(q)); }
    V getPosition() override { return record("getPosition()"), V{0, 0, 0}; }
    Q getOrientation() override { return record("getOrientation()"), orientation; }
    void startRotationSlerp(const float& rate, const Q& from, const Q& to) override {
        record("startRotationSlerp(" + format(rate) + ", " + format(from) + ", " + format(to) +
               ")");
    }

    Q orientation{0.5f, 0.5f, 0.5f, 0.5f};
};

class FakeProgressBar : public FakeComObject<IGuiProgressBar> {
public:
    FakeProgressBar(CallLog& log, std::string label);
    float getProgress() override { return 0.0f; }
    void setCaption(const std::string& caption) override { record("setCaption(" + caption + ")"); }
    void setProgress(float percent) override { record("setProgress(" + format(percent) + ")"); }
    std::int32_t Release() override { return record("Release()"), --references; }
};

// Labelled "<overlay label>:<element name>". A click is reported once.
class FakeGuiElement : public FakeComObject<IGuiElement> {
public:
    FakeGuiElement(CallLog& log, std::string label);
    HRESULT QueryInterface(const UUID& id, void** out) override;
    std::int32_t Release() override { return record("Release()"), --references; }
    void setText(const std::string& value) override { record("setText(" + (text = value) + ")"); }
    std::string getText() override { return text; }
    bool wasClicked() override { return record("wasClicked()"), std::exchange(clicked, false); }
    void show() override { record("show()"), visible = true; }
    void hide() override { record("hide()"), visible = false; }
    bool wasCloseClicked() override {
        return record("wasCloseClicked()"), std::exchange(closeClicked, false);
    }
    bool isVisible() override { return visible; }
    void setPosition(float left, float top) override {
        record("setPosition(" + format(left) + ", " + format(top) + ")");
    }
    void setSize(float width, float height) override {
        record("setSize(" + format(width) + ", " + format(height) + ")");
    }
    void setInteractive(std::uint32_t on) override {
        record("setInteractive(" + std::to_string(on) + ")");
    }

    bool clicked = false;
    bool closeClicked = false;
    bool visible = true;
    std::string text;
    bool grantsProgressBar = true; // asked for on the time bar only
    FakeProgressBar progressBar;
};

class FakeGuiOverlay : public FakeComObject<IGuiOverlay> {
public:
    // Every element that playback uses, unless the list names fewer.
    FakeGuiOverlay(CallLog& log, std::string label, std::vector<std::string> names = ALL_ELEMENTS);
    FakeGuiElement& element(const std::string& name) { return *elements.at(name); }
    // Lookups are not logged: the calls on the element name it.
    IGuiElement* getElement(const std::string& name) override;
    void notifyPaused() override { record("notifyPaused()"); }
    void notifyResumed() override { record("notifyResumed()"); }

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
    FakeSound(CallLog& log, std::string label) : FakeComObject(log, std::move(label), UUID{}) {}
    void play() override { record("play()"); }
    void stop() override { record("stop()"); }
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
    // Writes the script as "keyframes.xml" into a folder of its own and starts there;
    // whether the controller started.
    bool start(const std::string& keyframesXml);
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
