#include "viewer/EngineLogLines.h"

#include <OgreLogManager.h>
#include <string_view>

#include "platform/DebugOutput.h"
#include "platform/DiagnosticSink.h"
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

EngineLogLines::EngineLogLines(std::string group, const ResourceReadGuard& guard,
                               DiagnosticSink& sink)
    : group(std::move(group)), guard(guard), sink(sink) {
    if (Ogre::LogManager* logs = Ogre::LogManager::getSingletonPtr())
        log = logs->getDefaultLog();
    if (log != nullptr)
        log->addListener(this);
}

std::string EngineLogLines::describe(const std::string& name, const std::string& file) {
    return file.empty() ? name : name + " (" + file + ")";
}

void EngineLogLines::textureUnusable(const std::string& name, const std::string& reason,
                                     const std::string& material, const std::string& script) {
    if (!told.insert(name).second)
        return;
    const std::string file = ResourceReadGuard::locate(name, group);
    if (file.empty() && !material.empty()) {
        const std::string at = ResourceReadGuard::locate(script, group);
        report(at.empty() ? (script.empty() ? name : script) : at,
               "material \"" + material + "\" names texture " + name +
                   ", which is in no folder of the scene; its layer is left blank");
        return;
    }
    report(file.empty() ? name : file, "texture " + describe(name, file) + " cannot be used: " +
                                           reason + "; its layer is left blank");
}

void EngineLogLines::report(const std::string& file, const std::string& message) {
    Diagnostic diagnostic;
    diagnostic.file = file;
    diagnostic.origin = "SceneViewer";
    diagnostic.message = message;
    sink.report(diagnostic);
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
        textureUnusable(name, text.substr(at));
    } else if (between(text, NO_SKELETON, FOR_MESH, at, name) &&
               between(text, "", NOT_ANIMATED, at, mesh) && told.insert(name).second) {
        // The engine drops the reason; the guard's refusal is the one it can know of.
        const std::string refusal = guard.refusal(name);
        const std::string file = ResourceReadGuard::locate(name, group);
        const std::string why = !refusal.empty() ? refusal
                                : file.empty()
                                    ? "its skeleton " + name + " is in no folder of the scene"
                                    : "its skeleton " + describe(name, file) + " cannot be loaded";
        // A skeleton that no folder holds is the fault of the mesh that names it.
        const std::string about = !file.empty() ? file : ResourceReadGuard::locate(mesh, group);
        report(about.empty() ? mesh : about, "mesh " + mesh + " is not animated: " + why);
    }
}

} // namespace corvane
