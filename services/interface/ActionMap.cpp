#include "services/interface/ActionMap.h"

#include "platform/WindowEvents.h"

namespace corvane {

ActionMap::ActionMap() {
    bind("SHOW_MENU", "Escape");
    bind("SHOW_ABOUT", "F1");
    bind("SHOW_OPTIONS", "o");
    bind("EXIT", "q");
    bind("RESET_SIMULATION", "r");
    bind("CAMERA_5", "5");
    bind("MOUSE_CLICK", "Button1");
    // The timeline: keys that the menus and the free camera leave alone.
    bind("SEEK_BACK", "Left");
    bind("SEEK_FORWARD", "Right");
    bind("SEEK_START", "Home");
    bind("SEEK_END", "End");
    bind("SPEED_DOWN", "bracketleft");
    bind("SPEED_UP", "bracketright");
    bind("STEP_BACK", "comma");
    bind("STEP_FORWARD", "period");
    // Staging: I and P on either side of O, which loops the range they set.
    bind("SET_IN_POINT", "i");
    bind("SET_OUT_POINT", "p");
    bind("CLEAR_RANGE", "x");
    bind("RECORD_CAMERA_KEY", "k");
}

void ActionMap::unbind(const std::string& action) {
    keysByAction.erase(action);
}

bool ActionMap::bind(const std::string& action, const std::string& key) {
    std::string name;
    if (key.size() == 7 && key.compare(0, 6, "Button") == 0 && key[6] >= '1' && key[6] <= '5')
        name = key;
    else
        name = WindowEvents::canonicalKeyName(key);
    if (name.empty())
        return false;
    keysByAction[action].insert(name);
    return true;
}

std::vector<std::string> ActionMap::keysOf(const std::string& action) const {
    const auto keys = keysByAction.find(action);
    if (keys == keysByAction.end())
        return {};
    return std::vector<std::string>(keys->second.begin(), keys->second.end());
}

bool ActionMap::isBound(const std::string& key) const {
    for (const auto& [action, keys] : keysByAction)
        if (keys.count(key) > 0)
            return true;
    return false;
}

void ActionMap::beginFrame() {
    keysTapped.clear();
    actionsTapped.clear();
}

void ActionMap::keyDown(const std::string& key) {
    keysDown.insert(key);
    keysTapped.insert(key);
}

void ActionMap::keyUp(const std::string& key) {
    keysDown.erase(key);
}

void ActionMap::tap(const std::string& action) {
    actionsTapped.insert(action);
}

void ActionMap::hold(const std::string& action, bool down) {
    if (down)
        actionsHeld.insert(action);
    else
        actionsHeld.erase(action);
}

float ActionMap::value(const std::string& action) const {
    if (actionsTapped.count(action) > 0 || actionsHeld.count(action) > 0)
        return 1.0f;
    const auto keys = keysByAction.find(action);
    if (keys == keysByAction.end())
        return 0.0f;
    for (const std::string& key : keys->second)
        if (keysDown.count(key) > 0 || keysTapped.count(key) > 0)
            return 1.0f;
    return 0.0f;
}

std::string ActionMap::buttonName(int button) {
    return "Button" + std::to_string(button);
}

} // namespace corvane
