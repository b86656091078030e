#pragma once

#include <OgreDataStream.h>
#include <OgreMeshSerializer.h>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace Ogre {
class Entity;
} // namespace Ogre

namespace corvane {

class SceneReport;

// The materials of a scene's entities. A material name the engine does not know leaves the
// entity, or its part, white with the engine's default, and the engine says so only in its
// own log, once per mesh: here it is one diagnostic line per entity that names the entity,
// the mesh and the material. A sub-mesh keeps no name of a material that does not exist,
// so the names are taken as the engine's mesh reader reads them, while a Listening lives.
// A mesh's names are looked up where the engine looks for them: in the mesh's group.
class EntityMaterials : public Ogre::MeshSerializerListener {
public:
    // The engine's mesh reader reports to `materials` while this lives.
    class Listening {
    public:
        explicit Listening(EntityMaterials& materials);
        ~Listening();
        Listening(const Listening&) = delete;
        Listening& operator=(const Listening&) = delete;

    private:
        Ogre::MeshSerializerListener* previous;
    };

    // Whether `material` exists in `group`, or in any group when that is empty (where the
    // engine looks for a material given to an entity by name).
    static bool exists(const std::string& material, const std::string& group = "");
    // One line for every material that the mesh of `entity` names and that does not
    // exist, once per name; sub-entities marked in `given` were given a material by the
    // file and are left out. Meshes read while nobody listened are not known.
    // Lines go to `report`, about the entity's element at `row`.
    void reportMissing(Ogre::Entity& entity, const std::vector<bool>& given,
                       const SceneReport& report, int row) const;

    void processMaterialName(Ogre::Mesh* mesh, Ogre::String* name) override;
    void processSkeletonName(Ogre::Mesh* mesh, Ogre::String* name) override;
    void processMeshCompleted(Ogre::Mesh* mesh) override;

private:
    // The material names of each mesh read, by mesh name, in the order of its sub-meshes.
    std::map<std::string, std::vector<std::string>> names;
    // Meshes being read: a mesh read again starts its names afresh.
    std::set<std::string> reading;
};

} // namespace corvane
