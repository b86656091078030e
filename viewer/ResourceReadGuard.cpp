#include "viewer/ResourceReadGuard.h"

#include <GL/gl.h>
#include <OgreDefaultHardwareBufferManager.h>
#include <OgreException.h>
#include <OgreMesh.h>
#include <OgreMeshManager.h>
#include <OgreMeshSerializer.h>
#include <OgreSkeleton.h>
#include <OgreSkeletonManager.h>
#include <OgreSkeletonSerializer.h>
#include <OgreTexture.h>
#include <limits>
#include <stb/stb_image.h>

#include "platform/DebugOutput.h"
#include "platform/ProcessEnvironment.h"

namespace corvane {

namespace {

// The bytes of a file, for a trial reading that stops at the first read that runs past their
// end: the engine's readers do not look at what a read returned, and a file cut short
// would leave them reading counts and lengths out of memory that the file never filled.
// A read that starts at the end is the readers' way of looking for another part, and a
// line is read a block at a time and handed back: neither is a read past the end (a file
// cut exactly between two of its parts reads as a shorter whole one).
class WholeReads : public Ogre::MemoryDataStream {
public:
    explicit WholeReads(Ogre::MemoryDataStream& bytes)
        : MemoryDataStream(bytes.getName(), bytes.getPtr(), bytes.size(), false, true) {}

    size_t read(void* buffer, size_t count) override {
        if (!readingLine && tell() < size() && count > size() - tell()) {
            missing = count - (size() - tell());
            OGRE_EXCEPT(Ogre::Exception::ERR_INVALIDPARAMS, "read past the end", "WholeReads");
        }
        return MemoryDataStream::read(buffer, count);
    }
    Ogre::String getLine(bool trimAfter) override {
        readingLine = true;
        Ogre::String line = MemoryDataStream::getLine(trimAfter);
        readingLine = false;
        return line;
    }

    // How far the read that was stopped would have run past the end; 0 when none did.
    size_t missing = 0;

private:
    bool readingLine = false;
};

// The trial reading loads no skeleton that a mesh names: that has its own.
class NoSkeletons : public Ogre::MeshSerializerListener {
public:
    void processMaterialName(Ogre::Mesh*, Ogre::String*) override {}
    void processSkeletonName(Ogre::Mesh*, Ogre::String* name) override { name->clear(); }
    void processMeshCompleted(Ogre::Mesh*) override {}
};

// A mesh or skeleton read by hand was never loaded as a resource is: what the reading made
// is freed as an unload frees it.
class TrialMesh : public Ogre::Mesh {
public:
    using Mesh::Mesh;
    ~TrialMesh() override { unloadImpl(); }
};

class TrialSkeleton : public Ogre::Skeleton {
public:
    using Skeleton::Skeleton;
    ~TrialSkeleton() override { unloadImpl(); }
};

// Reads the mesh or skeleton in `bytes` with the engine's own reader, into an object of its
// own in `group` (where its materials are found) with its buffers in memory (nothing
// reaches the render system); how far a read ran
// past the end of the file, or 0. Any other failure is the engine's to tell when it loads
// the file itself.
size_t readsPastEnd(Ogre::MemoryDataStream& bytes, bool mesh, const std::string& group) {
    auto reads = std::make_shared<WholeReads>(bytes);
    Ogre::DataStreamPtr stream = reads;
    try {
        if (mesh) {
            Ogre::DefaultHardwareBufferManagerBase buffers;
            TrialMesh trial(Ogre::MeshManager::getSingletonPtr(), bytes.getName(), 0, group, true);
            trial.setHardwareBufferManager(&buffers);
            NoSkeletons listener;
            Ogre::MeshSerializer serializer;
            serializer.setListener(&listener);
            serializer.importMesh(stream, &trial);
        } else {
            TrialSkeleton trial(Ogre::SkeletonManager::getSingletonPtr(), bytes.getName(), 0, group,
                                true);
            Ogre::SkeletonSerializer().importSkeleton(stream, &trial);
        }
    } catch (const std::exception&) {
    }
    return reads->missing;
}

std::uint32_t renderSystemMaximum() {
    // Asked of the render system's context, current while the engine loads a texture;
    // 0 when there is none.
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    return glGetError() == GL_NO_ERROR && largest > 0 ? static_cast<std::uint32_t>(largest) : 0;
}

} // namespace

const char* const ResourceReadGuard::TEXTURE_LIMIT_VARIABLE = "CORVANE_TEXTURE_LIMIT";

ResourceReadGuard::ResourceReadGuard() {
    const std::string text = ProcessEnvironment::get(TEXTURE_LIMIT_VARIABLE);
    if (!text.empty()) {
        if (text.size() <= 9 && text.find_first_not_of("0123456789") == std::string::npos &&
            std::stoul(text) > 0)
            limit = static_cast<std::uint32_t>(std::stoul(text));
        else
            DebugOutput::line(std::string("SceneViewer: ") + TEXTURE_LIMIT_VARIABLE + "=\"" + text +
                              "\" is no number of pixels; textures are limited to " +
                              std::to_string(limit) + " on a side");
    }
    Ogre::ResourceGroupManager::getSingleton().setLoadingListener(this);
}

ResourceReadGuard::~ResourceReadGuard() {
    if (Ogre::ResourceGroupManager* resources = Ogre::ResourceGroupManager::getSingletonPtr();
        resources != nullptr && resources->getLoadingListener() == this)
        resources->setLoadingListener(nullptr);
}

std::uint32_t ResourceReadGuard::textureLimit() const {
    const std::uint32_t maximum = renderSystemMaximum();
    return maximum > 0 && maximum < limit ? maximum : limit;
}

std::string ResourceReadGuard::refusal(const std::string& name) const {
    const auto found = refused.find(name);
    return found != refused.end() ? found->second : "";
}

std::string ResourceReadGuard::locate(const std::string& name, const std::string& group) {
    try {
        Ogre::ResourceGroupManager& resources = Ogre::ResourceGroupManager::getSingleton();
        // A resource of the group the engine finds by itself lies in the group that holds it.
        const Ogre::FileInfoListPtr files = resources.findResourceFileInfo(
            group == Ogre::RGN_AUTODETECT ? resources.findGroupContainingResource(name) : group,
            name);
        if (!files->empty() && files->front().archive != nullptr)
            return files->front().archive->getName() + "/" + files->front().filename;
    } catch (const Ogre::Exception&) {
        // A group that does not exist holds no file.
    }
    return {};
}

void ResourceReadGuard::resourceStreamOpened(const Ogre::String& name, const Ogre::String& group,
                                             Ogre::Resource* resource,
                                             Ogre::DataStreamPtr& stream) {
    if (!stream)
        return;
    std::string reason;
    if (dynamic_cast<Ogre::Texture*>(resource) != nullptr)
        reason = checkTexture(name, stream);
    else if (dynamic_cast<Ogre::Mesh*>(resource) != nullptr)
        reason = checkChunks(name, group, *resource, stream, true);
    else if (dynamic_cast<Ogre::Skeleton*>(resource) != nullptr)
        reason = checkChunks(name, group, *resource, stream, false);
    if (reason.empty())
        return;
    refused[name] = reason;
    OGRE_EXCEPT(Ogre::Exception::ERR_INVALIDPARAMS, reason, "ResourceReadGuard");
}

std::string ResourceReadGuard::checkChunks(const Ogre::String& name, const Ogre::String& group,
                                           const Ogre::Resource& resource,
                                           Ogre::DataStreamPtr& stream, bool mesh) {
    // The whole file, once: the engine reads it into memory all the same.
    auto bytes = std::make_shared<Ogre::MemoryDataStream>(name, stream);
    stream = bytes;
    const size_t missing = readsPastEnd(*bytes, mesh, resource.getGroup());
    if (missing == 0)
        return {};
    const std::string file = locate(name, group);
    return (file.empty() ? name : file) + " is cut short: " + std::to_string(bytes->size()) +
           " bytes, and its data goes on past them";
}

std::string ResourceReadGuard::checkTexture(const Ogre::String& name,
                                            Ogre::DataStreamPtr& stream) const {
    // The whole file, once: the codec reads it from memory all the same.
    auto bytes = std::make_shared<Ogre::MemoryDataStream>(name, stream);
    stream = bytes;
    int width = 0;
    int height = 0;
    int channels = 0;
    // A format the probe does not know (the engine's compressed ones) is left to its codec.
    if (bytes->size() > static_cast<std::size_t>(std::numeric_limits<int>::max()) ||
        stbi_info_from_memory(bytes->getPtr(), static_cast<int>(bytes->size()), &width, &height,
                              &channels) == 0)
        return {};
    const std::uint32_t largest = textureLimit();
    if (static_cast<std::uint32_t>(width) <= largest &&
        static_cast<std::uint32_t>(height) <= largest)
        return {};
    return std::to_string(width) + " x " + std::to_string(height) + " pixels, larger than " +
           std::to_string(largest) + " on a side";
}

} // namespace corvane
