#include "platform/WindowSystem.h"

#include <OgreRenderWindow.h>
#include <OgreWindowEventUtilities.h>

namespace corvane {

void WindowSystem::registerWindow(Ogre::RenderWindow* window) {
    OgreBites::WindowEventUtilities::_addRenderWindow(window);
}

void WindowSystem::unregisterWindow(Ogre::RenderWindow* window) {
    OgreBites::WindowEventUtilities::_removeRenderWindow(window);
}

void WindowSystem::pumpMessages() {
    OgreBites::WindowEventUtilities::messagePump();
}

bool WindowSystem::setWindowHidden(Ogre::RenderWindow* window, bool hidden) {
    // The GLX window reports its X11 handle as "WINDOW"; a window without one (an
    // off-screen target) is neither hidden nor shown.
    unsigned long handle = 0;
    window->getCustomAttribute("WINDOW", &handle);
    if (handle == 0)
        return false;
    window->setHidden(hidden);
    return true;
}

} // namespace corvane
