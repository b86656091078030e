#include "platform/WindowEvents.h"

#include <OgreRenderWindow.h>
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace corvane {

namespace {

constexpr long INPUT_MASK =
    KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask;

std::string keyName(XKeyEvent& event) {
    KeySym lower = NoSymbol;
    KeySym upper = NoSymbol;
    XConvertCase(XLookupKeysym(&event, 0), &lower, &upper);
    const char* name = XKeysymToString(lower);
    return name != nullptr ? name : "";
}

} // namespace

bool WindowEvents::attach(Ogre::RenderWindow* renderWindow) {
    Display* xDisplay = nullptr;
    Window xWindow = 0;
    renderWindow->getCustomAttribute("XDISPLAY", &xDisplay);
    renderWindow->getCustomAttribute("WINDOW", &xWindow);
    if (xDisplay == nullptr || xWindow == 0)
        return false;
    // Add to the events the engine listens to; selecting replaces the whole mask.
    XWindowAttributes attributes{};
    XGetWindowAttributes(xDisplay, xWindow, &attributes);
    XSelectInput(xDisplay, xWindow, attributes.your_event_mask | INPUT_MASK);
    XkbSetDetectableAutoRepeat(xDisplay, True, nullptr);
    display = xDisplay;
    window = xWindow;
    return true;
}

std::vector<WindowEvent> WindowEvents::poll() {
    std::vector<WindowEvent> events;
    if (display == nullptr)
        return events;
    Display* xDisplay = static_cast<Display*>(display);
    XEvent event;
    while (XCheckWindowEvent(xDisplay, window, INPUT_MASK, &event)) {
        switch (event.type) {
        case KeyPress:
            events.push_back(
                {WindowEvent::KEY_DOWN, keyName(event.xkey), 0, event.xkey.x, event.xkey.y});
            break;
        case KeyRelease:
            events.push_back(
                {WindowEvent::KEY_UP, keyName(event.xkey), 0, event.xkey.x, event.xkey.y});
            break;
        case ButtonPress:
            events.push_back({WindowEvent::BUTTON_DOWN, "", static_cast<int>(event.xbutton.button),
                              event.xbutton.x, event.xbutton.y});
            break;
        case ButtonRelease:
            events.push_back({WindowEvent::BUTTON_UP, "", static_cast<int>(event.xbutton.button),
                              event.xbutton.x, event.xbutton.y});
            break;
        case MotionNotify:
            events.push_back({WindowEvent::POINTER_MOVED, "", 0, event.xmotion.x, event.xmotion.y});
            break;
        default:
            break;
        }
    }
    return events;
}

std::string WindowEvents::canonicalKeyName(const std::string& name) {
    const KeySym symbol = XStringToKeysym(name.c_str());
    if (symbol == NoSymbol)
        return "";
    KeySym lower = NoSymbol;
    KeySym upper = NoSymbol;
    XConvertCase(symbol, &lower, &upper);
    const char* canonical = XKeysymToString(lower);
    return canonical != nullptr ? canonical : "";
}

} // namespace corvane
