#include "tools/lint/SceneTextures.h"

#include <OgreEntity.h>
#include <OgreImage.h>
#include <OgreMaterial.h>
#include <OgrePass.h>
#include <OgreResourceGroupManager.h>
#include <OgreSceneManager.h>
#include <OgreSubEntity.h>
#include <OgreTechnique.h>
#include <OgreTextureManager.h>
#include <OgreTextureUnitState.h>
#include <map>
#include <set>
#include <string>

#include "platform/DebugOutput.h"
#include "viewer/EngineLogLines.h"

namespace corvane::lint {

namespace {

// The one- and two-dimensional textures by their names and groups, each with the first
// material that names it.
using Textures = std::map<std::pair<std::string, std::string>, const Ogre::Material*>;

void addTextures(const Ogre::Material& material, Textures& textures) {
    for (const Ogre::Technique* technique : material.getTechniques())
        for (const Ogre::Pass* pass : technique->getPasses())
            for (const Ogre::TextureUnitState* unit : pass->getTextureUnitStates()) {
                const Ogre::TextureType type = unit->getTextureType();
                if (unit->getContentType() != Ogre::TextureUnitState::CONTENT_NAMED ||
                    (type != Ogre::TEX_TYPE_1D && type != Ogre::TEX_TYPE_2D))
                    continue;
                for (unsigned frame = 0; frame < unit->getNumFrames(); ++frame)
                    if (const std::string& name = unit->getFrameTextureName(frame); !name.empty())
                        textures.emplace(std::pair(name, material.getGroup()), &material);
            }
}

// Why texture `name` of `group` cannot be used; empty when it can.
std::string unusable(const std::string& name, const std::string& group) {
    try {
        // The texture is the resource being loaded, so that the guard looks at its file.
        const Ogre::ResourcePtr texture =
            Ogre::TextureManager::getSingleton().createOrRetrieve(name, group).first;
        Ogre::DataStreamPtr stream =
            Ogre::ResourceGroupManager::getSingleton().openResource(name, group, texture.get());
        const std::size_t dot = name.rfind('.');
        Ogre::Image().load(stream, dot == std::string::npos ? "" : name.substr(dot + 1));
    } catch (const Ogre::Exception& exception) {
        return DebugOutput::oneLine(exception.getDescription());
    }
    return {};
}

} // namespace

void SceneTextures::check(Ogre::SceneManager& scene, EngineLogLines& lines) {
    std::set<const Ogre::Material*> materials;
    Textures textures;
    for (const auto& [name, object] : scene.getMovableObjects("Entity"))
        for (const Ogre::SubEntity* part : static_cast<Ogre::Entity*>(object)->getSubEntities())
            if (const Ogre::MaterialPtr& material = part->getMaterial();
                material && materials.insert(material.get()).second)
                addTextures(*material, textures);
    for (const auto& [texture, material] : textures)
        if (const std::string reason = unusable(texture.first, texture.second); !reason.empty())
            lines.textureUnusable(texture.first, reason, material->getName(),
                                  material->getOrigin());
}

} // namespace corvane::lint
