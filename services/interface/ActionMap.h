#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

namespace corvane {

// Named input actions ("SHOW_MENU", "EXIT", ...) from keys and mouse buttons. An action
// is triggered in a frame while one of its keys is down, and in the frame in which a key
// went down and up again between two frames, so that a quick tap is never lost.
class ActionMap {
public:
    // With the default bindings: Escape SHOW_MENU, F1 SHOW_ABOUT, o SHOW_OPTIONS, q EXIT,
    // r RESET_SIMULATION, 5 CAMERA_5, Button1 MOUSE_CLICK; Left SEEK_BACK, Right
    // SEEK_FORWARD, Home SEEK_START, End SEEK_END, bracketleft SPEED_DOWN, bracketright
    // SPEED_UP, comma STEP_BACK, period STEP_FORWARD; i SET_IN_POINT, p SET_OUT_POINT, x
    // CLEAR_RANGE, k RECORD_CAMERA_KEY.
    ActionMap();

    // Drops every key of the action.
    void unbind(const std::string& action);
    // Adds a key: a window-system key name ("Escape", "F1", "o") or "Button1" to "Button5".
    // False when the key name is not known.
    bool bind(const std::string& action, const std::string& key);
    // The keys bound to an action, in name order.
    std::vector<std::string> keysOf(const std::string& action) const;
    // Whether some action is bound to the key (a window-system name or "Button1".."Button5").
    bool isBound(const std::string& key) const;

    // Starts a frame: forgets the taps reported in the previous one.
    void beginFrame();
    void keyDown(const std::string& key);
    void keyUp(const std::string& key);
    // Triggers the action in this frame, as a tap of one of its keys would.
    void tap(const std::string& action);
    // Holds the action down (scripted input) until released.
    void hold(const std::string& action, bool down);

    // 1 while the action is triggered in this frame, else 0 (also for unknown names).
    float value(const std::string& action) const;

    static std::string buttonName(int button);

private:
    std::map<std::string, std::set<std::string>> keysByAction;
    std::set<std::string> keysDown;
    std::set<std::string> keysTapped;
    std::set<std::string> actionsTapped;
    std::set<std::string> actionsHeld;
};

} // namespace corvane
