#include "viewer/EngineLogLines.h"

#include <OgreLogManager.h>
#include <string_view>

#include "platform/DebugOutput.h"
#include "viewer/ResourceReadGuard.h"

namespace corvane {

namespace {

// The engine's own words for a texture layer it leaves blank and a skeleton it gives up.
const std::string_view BLANK_TEXTURE = "'. Texture layer will be blank: ";
const std::string_view TEXTURE = "texture '";
const std::string_view NO_SKELETON = "Unable to load skeleton '";
const std::string_view FOR_MESH = "' for Mesh '";
const std::string_view NOT_ANIMATED = "'. This Mesh will not be animated";

// The text between `open` and `close` after `from` in `text`; false when either is missing.
bool between(std::string_view text, std::string_view open, std::string_view close,
             std::size_t& from, std::string& out) {
    const std::size_t start = text.find(open, from);
    if (start == std::string_view::npos)
        return false;
    const std::size_t end = text.find(close, start + open.size());
    if (end == std::string_view::npos)
        return false;
    out = std::string(text.substr(start + open.size(), end - start - open.size()));
    from = end + close.size();
    return true;
}

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
    const std::string text = DebugOutput::oneLine(message);
    std::size_t at = 0;
    std::string name;
    std::string mesh;
    if (between(text, TEXTURE, BLANK_TEXTURE, at, name)) {
        if (told.insert(name).second)
            DebugOutput::line("SceneViewer: texture " + describe(name) +
                              " cannot be used: " + text.substr(at) + "; its layer is left blank");
    } else if (between(text, NO_SKELETON, FOR_MESH, at, name) &&
               between(text, "", NOT_ANIMATED, at, mesh) && told.insert(name).second) {
        // The engine drops the reason; the guard's refusal is the one it can know of.
        const std::string refusal = guard.refusal(name);
        DebugOutput::line("SceneViewer: mesh " + mesh + " is not animated: " +
                          (!refusal.empty() ? refusal
                           : ResourceReadGuard::locate(name, group).empty()
                               ? "its skeleton " + name + " is in no folder of the scene"
                               : "its skeleton " + describe(name) + " cannot be loaded"));
    }
}

} // namespace corvane
