#include "platform/WindowSystem.h"

#include <OgreRenderWindow.h>
#include <OgreWindowEventUtilities.h>
#include <X11/Xlib.h>
#include <chrono>
#include <thread>
#include <vector>

namespace corvane {

namespace {

struct NativeWindow {
    ::Display* display = nullptr;
    ::Window handle = 0;
};

// The GLX window reports its X11 display as "XDISPLAY" and its handle as "WINDOW"; an
// off-screen target reports neither.
NativeWindow nativeWindow(Ogre::RenderWindow* window) {
    NativeWindow native;
    window->getCustomAttribute("XDISPLAY", &native.display);
    window->getCustomAttribute("WINDOW", &native.handle);
    return native;
}

// The engine's event pump closes a window on a WM_PROTOCOLS message that carries the
// atom the window reports as "ATOM", and the GLX window of this engine version reports
// none (0), while window managers send WM_DELETE_WINDOW. Close requests for the window
// are rewritten to the reported atom and handed back, so that the pump closes the window
// with its usual notifications.
void translateCloseRequests(Ogre::RenderWindow* window) {
    const NativeWindow native = nativeWindow(window);
    if (native.display == nullptr || native.handle == 0)
        return;
    ::Atom reported = 0;
    window->getCustomAttribute("ATOM", &reported);
    const ::Atom deleteWindow = XInternAtom(native.display, "WM_DELETE_WINDOW", False);
    if (reported == deleteWindow)
        return;
    std::vector<XEvent> messages;
    XEvent event;
    while (XCheckTypedWindowEvent(native.display, native.handle, ClientMessage, &event)) {
        if (event.xclient.format == 32 &&
            static_cast<::Atom>(event.xclient.data.l[0]) == deleteWindow)
            event.xclient.data.l[0] = static_cast<long>(reported);
        messages.push_back(event);
    }
    // Handed back in reverse, so that they keep their order at the head of the queue.
    for (auto message = messages.rbegin(); message != messages.rend(); ++message)
        XPutBackEvent(native.display, &*message);
}

} // namespace

WindowSystem::DisplayConnection::DisplayConnection()
    : display(nullptr), displayName(XDisplayName(nullptr)) {
    // A server that has just lost its last client refuses connections for the moment it
    // takes to reset: a few more tries, within half a second, before giving up.
    constexpr int ATTEMPTS = 20;
    for (int attempt = 0; attempt < ATTEMPTS && display == nullptr; ++attempt) {
        if (attempt > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        display = XOpenDisplay(nullptr);
        if (displayName.empty())
            break;
    }
}

WindowSystem::DisplayConnection::~DisplayConnection() {
    if (display != nullptr)
        XCloseDisplay(static_cast<::Display*>(display));
}

void WindowSystem::registerWindow(Ogre::RenderWindow* window) {
    OgreBites::WindowEventUtilities::_addRenderWindow(window);
}

void WindowSystem::unregisterWindow(Ogre::RenderWindow* window) {
    OgreBites::WindowEventUtilities::_removeRenderWindow(window);
}

void WindowSystem::pumpMessages(Ogre::RenderWindow* window) {
    if (window != nullptr && !window->isClosed())
        translateCloseRequests(window);
    OgreBites::WindowEventUtilities::messagePump();
}

bool WindowSystem::setWindowHidden(Ogre::RenderWindow* window, bool hidden) {
    // A window without a native handle (an off-screen target) is neither hidden nor shown.
    const NativeWindow native = nativeWindow(window);
    if (native.handle == 0)
        return false;
    window->setHidden(hidden);
    // Done at the server before going on: the window's map or unmap notice is then queued
    // for the next pumpMessages(), and the engine renders a window only once it knows it
    // is mapped.
    if (native.display != nullptr)
        XSync(native.display, False);
    return true;
}

bool WindowSystem::requestClose(Ogre::RenderWindow* window) {
    const NativeWindow native = nativeWindow(window);
    if (native.display == nullptr || native.handle == 0)
        return false;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = native.handle;
    event.xclient.message_type = XInternAtom(native.display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] =
        static_cast<long>(XInternAtom(native.display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(native.display, native.handle, False, NoEventMask, &event);
    XSync(native.display, False);
    return true;
}

} // namespace corvane
