#include "tests/playback/RecordingFakes.h"

#include <sstream>

#include "framework/Identifiers.h"

namespace corvane::testing {

namespace {

bool isQuery(const std::string& call) {
    const std::size_t dot = call.rfind('.', call.find('('));
    const std::string operation = call.substr(dot + 1);
    return operation.rfind("get", 0) == 0 || operation.rfind("was", 0) == 0 ||
           operation.rfind("QueryInterface", 0) == 0;
}

} // namespace

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

std::string format(const char* operation, const std::string& name, double value) {
    return operation + ("(" + name + ", " + format(static_cast<float>(value)) + ")");
}

std::string format(const char* operation, const std::string& name, bool value) {
    return operation + ("(" + name + ", " + (value ? "true" : "false") + ")");
}

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

FakeCameraControl::FakeCameraControl(CallLog& log, std::string label)
    : FakeComObject(log, std::move(label), IID_ICameraControl) {}

FakeProgressBar::FakeProgressBar(CallLog& log, std::string label)
    : FakeComObject(log, std::move(label), IID_IGuiProgressBar) {}

// Elements have no id of their own: they answer only the progress bar's.
FakeGuiElement::FakeGuiElement(CallLog& log, std::string label)
    : FakeComObject(log, label, UUID{}), progressBar(log, label + "/bar") {}

HRESULT FakeGuiElement::QueryInterface(const UUID& id, void** out) {
    record("QueryInterface()");
    if (!grantsProgressBar)
        return E_FAIL;
    return progressBar.QueryInterface(id, out);
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

IGuiElement* FakeGuiOverlay::getElement(const std::string& name) {
    const auto found = elements.find(name);
    return found != elements.end() ? found->second.get() : nullptr;
}

FakeActionInput::FakeActionInput(CallLog& log, std::string label)
    : FakeComObject(log, std::move(label), IID_IActionInput) {}

float FakeActionInput::getActionValue(const std::string& action) {
    record("getActionValue(" + action + ")");
    const auto found = values.find(action);
    return found != values.end() ? found->second : 0.0f;
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

bool PlaybackRig::start(const std::string& keyframes) {
    folder.write(PlaybackController::KEYFRAME_FILE, keyframes);
    CurrentDirectoryScope inFolder(folder.path());
    return controller.start();
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
