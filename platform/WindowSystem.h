#pragma once

#include <string>

namespace Ogre {
class RenderWindow;
}

namespace corvane {

// The window calls of the viewer, on the engine's own window utilities.
class WindowSystem {
public:
    // A connection to the display that DISPLAY names, held while the engine opens its own:
    // an X server that loses its last client resets, and refuses connections meanwhile.
    class DisplayConnection {
    public:
        DisplayConnection();
        ~DisplayConnection();
        DisplayConnection(const DisplayConnection&) = delete;
        DisplayConnection& operator=(const DisplayConnection&) = delete;

        // Whether the display answered: windows can be opened.
        bool isOpen() const { return display != nullptr; }
        // The display's name; empty when DISPLAY is not set.
        const std::string& name() const { return displayName; }

    private:
        void* display;
        std::string displayName;
    };

    // Registers a window the engine created, so that its events (closing among them) are
    // seen by pumpMessages(). Once per window.
    static void registerWindow(Ogre::RenderWindow* window);
    // Takes the window off the event list before the engine destroys it.
    static void unregisterWindow(Ogre::RenderWindow* window);
    // Drains the queued window events of the process without waiting. A close request
    // for `window` from the window manager (its close box) closes it.
    static void pumpMessages(Ogre::RenderWindow* window);
    // Hides or shows the window when it reports a native handle; false when it has none.
    static bool setWindowHidden(Ogre::RenderWindow* window, bool hidden);
    // Asks the window to close as the window manager does for its close box: the request
    // is queued for the next pumpMessages(). False when it has no native handle.
    static bool requestClose(Ogre::RenderWindow* window);
};

} // namespace corvane
