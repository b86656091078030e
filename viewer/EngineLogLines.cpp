#include "viewer/EngineLogLines.h"

#include <OgreLogManager.h>
#include <regex>

#include "platform/DebugOutput.h"
#include "viewer/ResourceReadGuard.h"

namespace corvane {

namespace {

// The engine's own words for a texture layer it leaves blank and a skeleton it gives up.
const std::regex BLANK_TEXTURE("(?:preparing|loading) texture '(.*)'\\. Texture layer will be "
                               "blank: (.*)");
const std::regex NO_SKELETON("Unable to load skeleton '(.*)' for Mesh '(.*)'\\. This Mesh will "
                             "not be animated");

} // namespace

EngineLogLines::EngineLogLines(std::string group, const ResourceReadGuard& guard)
    : group(std::move(group)), guard(guard) {
    if (Ogre::LogManager* logs = Ogre::LogManager::getSingletonPtr())
        log = logs->getDefaultLog();
    if (log != nullptr)
        log->addListener(this);
}

std::string EngineLogLines::describe(const std::string& name) const {
    const std::string file = ResourceReadGuard::locate(name, group);
    return file.empty() ? name : name + " (" + file + ")";
}

EngineLogLines::~EngineLogLines() {
    if (log != nullptr && Ogre::LogManager::getSingletonPtr() != nullptr)
        log->removeListener(this);
}

void EngineLogLines::messageLogged(const Ogre::String& message, Ogre::LogMessageLevel level, bool,
                                   const Ogre::String&, bool&) {
    if (level < Ogre::LML_CRITICAL)
        return;
    std::smatch match;
    const std::string text = DebugOutput::oneLine(message);
    if (std::regex_search(text, match, BLANK_TEXTURE)) {
        if (told.insert(match[1]).second)
            DebugOutput::line("SceneViewer: texture " + describe(match[1]) +
                              " cannot be used: " + match[2].str() + "; its layer is left blank");
    } else if (std::regex_search(text, match, NO_SKELETON) && told.insert(match[1]).second) {
        // The engine drops the reason; the guard's refusal is the one it can know of.
        const std::string refusal = guard.refusal(match[1]);
        DebugOutput::line("SceneViewer: mesh " + match[2].str() + " is not animated: " +
                          (!refusal.empty() ? refusal
                           : ResourceReadGuard::locate(match[1], group).empty()
                               ? "its skeleton " + match[1].str() + " is in no folder of the scene"
                               : "its skeleton " + describe(match[1]) + " cannot be loaded"));
    }
}

} // namespace corvane
