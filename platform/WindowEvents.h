#pragma once

#include <string>
#include <vector>

namespace Ogre {
class RenderWindow;
}

namespace corvane {

// One key, button or pointer event of a render window.
struct WindowEvent {
    enum Kind { KEY_DOWN, KEY_UP, BUTTON_DOWN, BUTTON_UP, POINTER_MOVED };
    Kind kind;
    std::string key; // key events: the key's name, as canonicalKeyName() gives it
    int button;      // button events: 1 left, 2 middle, 3 right, 4 and 5 the wheel
    int x;           // pointer position in window pixels, from the left
    int y;           // ... and from the top
};

// The keys, buttons and pointer of a window that the engine created. The engine's own
// message pump takes only the window's structure, focus and close events; these are left
// queued for us.
class WindowEvents {
public:
    // Starts listening to the window's keys, buttons and pointer; false when the window
    // has no native window-system handle.
    bool attach(Ogre::RenderWindow* window);
    bool isAttached() const { return display != nullptr; }
    // The queued events of the window, oldest first; held keys do not repeat.
    std::vector<WindowEvent> poll();

    // The window system's name of a key ("Escape", "F1", "o", "5"), letters in lower case;
    // empty for a name it does not know.
    static std::string canonicalKeyName(const std::string& name);

private:
    void* display = nullptr;
    unsigned long window = 0;
};

} // namespace corvane
