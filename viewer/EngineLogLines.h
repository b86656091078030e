#pragma once

#include <OgreLog.h>
#include <set>
#include <string>

namespace corvane {

class DiagnosticSink;
class ResourceReadGuard;

// Passes on, as one diagnostic each, what the engine writes only into its log while a user
// must hear of it: a texture it cannot use (not found, not decodable, refused by
// ResourceReadGuard), whose layer it leaves blank, and a skeleton it cannot load, without
// which a mesh is not animated. Each is about the file at fault (the texture, the skeleton,
// or the mesh that names a skeleton no folder holds), so that a check of the files reports
// it there. Each texture and skeleton is told once however many materials or meshes use
// it. Listens to the engine's default log while it exists.
class EngineLogLines : private Ogre::LogListener {
public:
    // Files are named by their place in `group` where it can be told; `guard` tells why it
    // refused one; the diagnostics go to `sink` (not owned).
    EngineLogLines(std::string group, const ResourceReadGuard& guard, DiagnosticSink& sink);
    ~EngineLogLines() override;
    EngineLogLines(const EngineLogLines&) = delete;
    EngineLogLines& operator=(const EngineLogLines&) = delete;

    // Tells that texture `name` cannot be used, and why, as for the engine's own line: for a
    // check of the files, which reads the textures itself where the engine without a render
    // system reads none. A texture that no folder holds is the fault of the material that
    // names it, `material` from script file `script`, when they are given.
    void textureUnusable(const std::string& name, const std::string& reason,
                         const std::string& material = {}, const std::string& script = {});

private:
    void messageLogged(const Ogre::String& message, Ogre::LogMessageLevel level, bool maskDebug,
                       const Ogre::String& logName, bool& skip) override;
    // `name` with `file`, the path it was located at (empty when none): "brick.png
    // (/home/me/art/brick.png)". The caller has located it already: locating lists the
    // group's folders.
    static std::string describe(const std::string& name, const std::string& file);
    // A diagnostic about `file` (a path, or a name that no folder holds).
    void report(const std::string& file, const std::string& message);

    std::string group;
    const ResourceReadGuard& guard;
    DiagnosticSink& sink;
    Ogre::Log* log = nullptr;
    std::set<std::string> told;
};

} // namespace corvane
