#include "tests/playback/RecordingFakes.h"

#include <sstream>

#include "framework/Identifiers.h"

namespace corvane::testing {

namespace {

std::string format(float value) {
    std::ostringstream stream;
    stream << value;
    return stream.str();
}

std::string format(const FloatVector3& v) {
    return "(" + format(v.x) + ", " + format(v.y) + ", " + format(v.z) + ")";
}

std::string format(const FloatQuaternion& q) {
    return "(" + format(q.w) + ", " + format(q.x) + ", " + format(q.y) + ", " + format(q.z) + ")";
}

std::string call(const std::string& operation, const std::string& name, double value) {
    return operation + "(" + name + ", " + format(static_cast<float>(value)) + ")";
}

std::string call(const std::string& operation, const std::string& name, bool value) {
    return operation + "(" + name + ", " + (value ? "true" : "false") + ")";
}

bool isQuery(const std::string& call) {
    const std::size_t dot = call.rfind('.', call.find('('));
    const std::string operation = call.substr(dot + 1);
    return operation.rfind("get", 0) == 0 || operation.rfind("was", 0) == 0 ||
           operation.rfind("QueryInterface", 0) == 0;
}

} // namespace

std::vector<std::string> CallLog::effects() const {
    std::vector<std::string> found;
    for (const std::string& call : calls)
        if (!isQuery(call))
            found.push_back(call);
    return found;
}

std::vector<std::string> CallLog::containing(const std::string& part) const {
    std::vector<std::string> found;
    for (const std::string& call : calls)
        if (call.find(part) != std::string::npos)
            found.push_back(call);
    return found;
}

void FakeSceneObject::record(const std::string& call) {
    ++log.count;
    if (log.keep)
        log.add(label + "." + call);
}

void FakeSceneObject::setAnimationRate(const std::string& anim, double rate) {
    record(call("setAnimationRate", anim, rate));
}
void FakeSceneObject::setAnimationStopTime(const std::string& anim, double time) {
    record(call("setAnimationStopTime", anim, time));
}
void FakeSceneObject::stopAnimation(const std::string& anim) {
    record("stopAnimation(" + anim + ")");
}
void FakeSceneObject::setAnimationEnabled(const std::string& anim, bool enabled) {
    record(call("setAnimationEnabled", anim, enabled));
}
void FakeSceneObject::setAnimationLoop(const std::string& anim, bool loop) {
    record(call("setAnimationLoop", anim, loop));
}
void FakeSceneObject::setAnimationWeight(const std::string& anim, double weight) {
    record(call("setAnimationWeight", anim, weight));
}
void FakeSceneObject::setWeightSlideRate(const std::string& anim, double rate) {
    record(call("setWeightSlideRate", anim, rate));
}
void FakeSceneObject::setWeightSlideTarget(const std::string& anim, double weight) {
    record(call("setWeightSlideTarget", anim, weight));
}
void FakeSceneObject::setAnimationTimePosition(const std::string& anim, double time) {
    record(call("setAnimationTimePosition", anim, time));
}
FloatVector3 FakeSceneObject::getPosition() {
    record("getPosition()");
    return {0.0f, 0.0f, 0.0f};
}
FloatVector3 FakeSceneObject::getWorldPosition() {
    record("getWorldPosition()");
    return {0.0f, 0.0f, 0.0f};
}
void FakeSceneObject::translate(const FloatVector3& offset) {
    record("translate" + format(offset));
}
void FakeSceneObject::setPosition(const FloatVector3& position) {
    record("setPosition" + format(position));
}
void FakeSceneObject::setVelocity(const FloatVector3& velocity) {
    record("setVelocity" + format(velocity));
}
FloatVector3 FakeSceneObject::getVelocity() {
    record("getVelocity()");
    return {0.0f, 0.0f, 0.0f};
}
void FakeSceneObject::setMoveTarget(const FloatVector3& target) {
    record("setMoveTarget" + format(target));
}
FloatQuaternion FakeSceneObject::getOrientation() {
    record("getOrientation()");
    return {1.0f, 0.0f, 0.0f, 0.0f};
}
void FakeSceneObject::setOrientationDegrees(const float& x, const float& y, const float& z) {
    record("setOrientationDegrees" + format(FloatVector3{x, y, z}));
}
void FakeSceneObject::setOrientation(const FloatQuaternion& orientation) {
    record("setOrientation" + format(orientation));
}
void FakeSceneObject::rotateDegrees(const float& x, const float& y, const float& z) {
    record("rotateDegrees" + format(FloatVector3{x, y, z}));
}
void FakeSceneObject::rotate(const FloatQuaternion& rotation) {
    record("rotate" + format(rotation));
}
void FakeSceneObject::startRotationSlerp(const float& rate, const FloatQuaternion& from,
                                         const FloatQuaternion& to) {
    record("startRotationSlerp(" + format(rate) + ", " + format(from) + ", " + format(to) + ")");
}
void FakeSceneObject::printTransform() {
    record("printTransform()");
}
void FakeSceneObject::attachToBone(const std::string& bone, ISceneObject* other,
                                   const FloatQuaternion& offsetOrientation,
                                   const FloatVector3& offsetPosition) {
    record("attachToBone(" + bone + ", " + other->getName() + ", " + format(offsetOrientation) +
           ", " + format(offsetPosition) + ")");
}
void FakeSceneObject::detachFromBone(const std::string& objectName) {
    record("detachFromBone(" + objectName + ")");
}
void FakeSceneObject::attachToSceneNode(const std::string& nodeName) {
    record("attachToSceneNode(" + nodeName + ")");
}

FakeSceneAccess::FakeSceneAccess(CallLog& log, std::string label)
    : FakeComObject(log, std::move(label), IID_ISceneAccess) {}

FakeSceneObject& FakeSceneAccess::add(const std::string& entity) {
    auto& object = objects[entity];
    object = std::make_unique<FakeSceneObject>(log, label + ":" + entity);
    return *object;
}

ISceneObject* FakeSceneAccess::getSceneObject(const std::string& entityName) {
    record("getSceneObject(" + entityName + ")");
    const auto found = objects.find(entityName);
    return found != objects.end() ? found->second.get() : nullptr;
}

void FakeSceneAccess::setTimeScale(float scale) {
    record("setTimeScale(" + format(scale) + ")");
}

FakeCameraControl::FakeCameraControl(CallLog& log, std::string label)
    : FakeComObject(log, std::move(label), IID_ICameraControl) {}

void FakeCameraControl::setLocalVelocity(const FloatVector3& velocity) {
    record("setLocalVelocity" + format(velocity));
}
void FakeCameraControl::setCameraPosition(const FloatVector3& position) {
    record("setCameraPosition" + format(position));
}
void FakeCameraControl::setWorldVelocity(const FloatVector3& velocity) {
    record("setWorldVelocity" + format(velocity));
}
void FakeCameraControl::setMoveTarget(const FloatVector3& target) {
    record("setMoveTarget" + format(target));
}
void FakeCameraControl::rotateDegrees(const float& pitch, const float& yaw, const float& roll) {
    record("rotateDegrees" + format(FloatVector3{pitch, yaw, roll}));
}
void FakeCameraControl::setOrientation(const FloatQuaternion& value) {
    record("setOrientation" + format(value));
}
FloatVector3 FakeCameraControl::getPosition() {
    record("getPosition()");
    return {0.0f, 0.0f, 0.0f};
}
FloatQuaternion FakeCameraControl::getOrientation() {
    record("getOrientation()");
    return orientation;
}
void FakeCameraControl::startRotationSlerp(const float& rate, const FloatQuaternion& from,
                                           const FloatQuaternion& to) {
    record("startRotationSlerp(" + format(rate) + ", " + format(from) + ", " + format(to) + ")");
}

FakeProgressBar::FakeProgressBar(CallLog& log, std::string label)
    : FakeComObject(log, std::move(label), IID_IGuiProgressBar) {}

void FakeProgressBar::setCaption(const std::string& caption) {
    record("setCaption(" + caption + ")");
}
void FakeProgressBar::setProgress(float percent) {
    record("setProgress(" + format(percent) + ")");
}
std::int32_t FakeProgressBar::Release() {
    record("Release()");
    return --references;
}

// Elements have no id of their own: they answer only the progress bar's.
FakeGuiElement::FakeGuiElement(CallLog& log, std::string label)
    : FakeComObject(log, label, UUID{}), progressBar(log, label + "/bar") {}

HRESULT FakeGuiElement::QueryInterface(const UUID& id, void** out) {
    record("QueryInterface()");
    if (!grantsProgressBar)
        return E_FAIL;
    return progressBar.QueryInterface(id, out);
}
std::int32_t FakeGuiElement::Release() {
    record("Release()");
    return --references;
}
void FakeGuiElement::setText(const std::string& value) {
    text = value;
    record("setText(" + value + ")");
}
bool FakeGuiElement::wasClicked() {
    record("wasClicked()");
    return std::exchange(clicked, false);
}
void FakeGuiElement::show() {
    visible = true;
    record("show()");
}
void FakeGuiElement::hide() {
    visible = false;
    record("hide()");
}
bool FakeGuiElement::wasCloseClicked() {
    record("wasCloseClicked()");
    return std::exchange(closeClicked, false);
}
void FakeGuiElement::setPosition(float left, float top) {
    record("setPosition(" + format(left) + ", " + format(top) + ")");
}
void FakeGuiElement::setSize(float width, float height) {
    record("setSize(" + format(width) + ", " + format(height) + ")");
}
void FakeGuiElement::setInteractive(std::uint32_t interactive) {
    record("setInteractive(" + std::to_string(interactive) + ")");
}

const std::vector<std::string> FakeGuiOverlay::ALL_ELEMENTS = {
    "ZORV/EscapeMenu",
    "ZORV/EscapeMenu/Resume",
    "ZORV/EscapeMenu/About",
    "ZORV/EscapeMenu/LoopOn",
    "ZORV/EscapeMenu/LoopOff",
    "ZORV/EscapeMenu/Restart",
    "ZORV/EscapeMenu/Exit",
    "ZORV/About",
    "ZORV/Options",
    "ZORV/ConfirmExit",
    "ZORV/ConfirmExit/OK",
    "ZORV/ConfirmExit/Cancel",
    "ZORV/Panel/CameraAuto",
    "ZORV/Panel/CameraManual",
    "ZORV/Timebar",
    "ZORV/StatusText",
    "ZORV/StatusText/Static1",
};

FakeGuiOverlay::FakeGuiOverlay(CallLog& log, std::string label, std::vector<std::string> names)
    : FakeComObject(log, std::move(label), IID_IGuiOverlay) {
    for (const std::string& name : names)
        elements[name] = std::make_unique<FakeGuiElement>(log, this->label + ":" + name);
}

// Lookups are not logged: the calls on the element name it.
IGuiElement* FakeGuiOverlay::getElement(const std::string& name) {
    const auto found = elements.find(name);
    return found != elements.end() ? found->second.get() : nullptr;
}
void FakeGuiOverlay::notifyPaused() {
    record("notifyPaused()");
}
void FakeGuiOverlay::notifyResumed() {
    record("notifyResumed()");
}

FakeActionInput::FakeActionInput(CallLog& log, std::string label)
    : FakeComObject(log, std::move(label), IID_IActionInput) {}

float FakeActionInput::getActionValue(const std::string& action) {
    record("getActionValue(" + action + ")");
    const auto found = values.find(action);
    return found != values.end() ? found->second : 0.0f;
}

FakeSound::FakeSound(CallLog& log, std::string label)
    : FakeComObject(log, std::move(label), UUID{}) {}

void FakeSound::play() {
    record("play()");
}
void FakeSound::stop() {
    record("stop()");
}

FakeSoundBank::FakeSoundBank(CallLog& log, std::string label)
    : FakeComObject(log, std::move(label), IID_ISoundBank) {}

FakeSound& FakeSoundBank::add(const std::string& name) {
    auto& sound = sounds[name];
    sound = std::make_unique<FakeSound>(log, label + ":" + name);
    return *sound;
}

ISound* FakeSoundBank::findSound(const std::string& name) {
    record("findSound(" + name + ")");
    const auto found = sounds.find(name);
    return found != sounds.end() ? found->second.get() : nullptr;
}

PlaybackRig::PlaybackRig() = default;

void PlaybackRig::offerAll() {
    int plugin = 0;
    for (IUnknown* provider : std::initializer_list<IUnknown*>{
             &input, &camera, static_cast<ISceneAccess*>(&scene), &overlay, &sounds})
        host.add(UUID::fromFields(0x7E57F00D, 0, 0, ++plugin), provider);
}

void PlaybackRig::start(const std::string& keyframes) {
    folder.write(PlaybackController::KEYFRAME_FILE, keyframes);
    CurrentDirectoryScope inFolder(folder.path());
    controller.start();
}

bool PlaybackRig::frames(int count, float seconds) {
    for (int frame = 0; frame < count; ++frame)
        if (!controller.renderFrame(seconds))
            return false;
    return true;
}

void PlaybackRig::click(const std::string& what) {
    const std::string close = " Close";
    if (what.size() > close.size() &&
        what.compare(what.size() - close.size(), close.size(), close) == 0)
        overlay.element(what.substr(0, what.size() - close.size())).closeClicked = true;
    else
        overlay.element(what).clicked = true;
}

std::string keyframesXml(const std::string& keyframes) {
    return "<keyframes>" + keyframes + "</keyframes>";
}

} // namespace corvane::testing
