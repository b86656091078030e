#pragma once

#include <OgreLog.h>
#include <set>
#include <string>

namespace corvane {

class ResourceReadGuard;

// Passes on, as one diagnostic line each, what the engine writes only into its log while a
// user must hear of it: a texture it cannot use (not found, not decodable, refused by
// ResourceReadGuard), whose layer it leaves blank, and a skeleton it cannot load, without
// which a mesh is not animated. Each texture and skeleton is told once however many
// materials or meshes use it. Listens to the engine's default log while it exists.
class EngineLogLines : private Ogre::LogListener {
public:
    // Files are named by their place in `group` where it can be told; `guard` tells why it
    // refused one.
    EngineLogLines(std::string group, const ResourceReadGuard& guard);
    ~EngineLogLines() override;
    EngineLogLines(const EngineLogLines&) = delete;
    EngineLogLines& operator=(const EngineLogLines&) = delete;

private:
    void messageLogged(const Ogre::String& message, Ogre::LogMessageLevel level, bool maskDebug,
                       const Ogre::String& logName, bool& skip) override;
    // `name` with the file it was found in: "brick.png (/home/me/art/brick.png)".
    std::string describe(const std::string& name) const;

    std::string group;
    const ResourceReadGuard& guard;
    Ogre::Log* log = nullptr;
    std::set<std::string> told;
};

} // namespace corvane
