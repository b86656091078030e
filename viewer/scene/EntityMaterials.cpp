#include "viewer/scene/EntityMaterials.h"

#include <OgreEntity.h>
#include <OgreMaterialManager.h>
#include <OgreMesh.h>
#include <OgreMeshManager.h>

#include "viewer/scene/SceneReport.h"

namespace corvane {

EntityMaterials::Listening::Listening(EntityMaterials& materials)
    : previous(Ogre::MeshManager::getSingleton().getListener()) {
    Ogre::MeshManager::getSingleton().setListener(&materials);
}

EntityMaterials::Listening::~Listening() {
    Ogre::MeshManager::getSingleton().setListener(previous);
}

bool EntityMaterials::exists(const std::string& material, const std::string& group) {
    return static_cast<bool>(Ogre::MaterialManager::getSingleton().getByName(
        material,
        group.empty() ? Ogre::ResourceGroupManager::AUTODETECT_RESOURCE_GROUP_NAME : group));
}

void EntityMaterials::reportMissing(Ogre::Entity& entity, const std::vector<bool>& given,
                                    const SceneReport& report, int row) const {
    const auto found = names.find(entity.getMesh()->getName());
    if (found == names.end())
        return;
    const std::vector<std::string>& materials = found->second;
    std::set<std::string> reported;
    for (std::size_t index = 0; index < entity.getNumSubEntities() && index < materials.size();
         ++index) {
        // A sub-mesh without a material name is the mesh's own choice of the default.
        const std::string& material = materials[index];
        if ((index < given.size() && given[index]) || material.empty() ||
            exists(material, entity.getMesh()->getGroup()) || !reported.insert(material).second)
            continue;
        report.error("SceneLoader::processEntity()", row,
                     entity.getName() + " uses mesh \"" + entity.getMesh()->getName() +
                         "\", whose material \"" + material +
                         "\" does not exist; it renders with the engine's default");
    }
}

void EntityMaterials::processMaterialName(Ogre::Mesh* mesh, Ogre::String* name) {
    if (reading.insert(mesh->getName()).second)
        names[mesh->getName()].clear();
    names[mesh->getName()].push_back(*name);
}

void EntityMaterials::processSkeletonName(Ogre::Mesh*, Ogre::String*) {}

void EntityMaterials::processMeshCompleted(Ogre::Mesh* mesh) {
    reading.erase(mesh->getName());
}

} // namespace corvane
