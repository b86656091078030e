#pragma once

#include <OgreResourceGroupManager.h>
#include <cstdint>
#include <map>
#include <string>

namespace corvane {

// Looks at the files the engine opens before it reads them, and refuses, with an engine
// exception that names the file and says why (the engine then leaves a texture's layer
// blank, and the scene loader skips the mesh's entity):
// - a texture larger on a side than the render system can hold or than the limit, before
//   it is decoded: a PNG of a megabyte can inflate to gigabytes of pixels;
// - a mesh or skeleton file that is cut short: the engine would read past its end without a
//   word, and draw or animate what it half read.
// Installed as the engine's one resource loading listener while it exists.
class ResourceReadGuard : private Ogre::ResourceLoadingListener {
public:
    // The default limit on a texture's side, in pixels; CORVANE_TEXTURE_LIMIT sets another.
    static constexpr std::uint32_t DEFAULT_TEXTURE_LIMIT = 16384;
    static const char* const TEXTURE_LIMIT_VARIABLE;

    ResourceReadGuard();
    ~ResourceReadGuard() override;
    ResourceReadGuard(const ResourceReadGuard&) = delete;
    ResourceReadGuard& operator=(const ResourceReadGuard&) = delete;

    // The largest side a texture may have: the limit, or the render system's maximum when
    // that is smaller.
    std::uint32_t textureLimit() const;
    // Why the file of resource `name` was refused; empty when it was not.
    std::string refusal(const std::string& name) const;

    // The path of the file of resource `name` in `group`; empty when the group has none.
    static std::string locate(const std::string& name, const std::string& group);

private:
    void resourceStreamOpened(const Ogre::String& name, const Ogre::String& group,
                              Ogre::Resource* resource, Ogre::DataStreamPtr& stream) override;
    // The reason to refuse the file, or empty.
    std::string checkTexture(const Ogre::String& name, Ogre::DataStreamPtr& stream) const;
    // A mesh's or skeleton's file, read once by the engine's own reader before the engine
    // reads it.
    static std::string checkChunks(const Ogre::String& name, const Ogre::String& group,
                                   const Ogre::Resource& resource, Ogre::DataStreamPtr& stream,
                                   bool mesh);

    std::uint32_t limit = DEFAULT_TEXTURE_LIMIT;
    std::map<std::string, std::string> refused;
};

} // namespace corvane
