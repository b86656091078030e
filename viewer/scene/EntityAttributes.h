#pragma once

class TiXmlElement;

namespace Ogre {
class Entity;
} // namespace Ogre

namespace corvane {

class EntityMaterials;
class SceneReport;

// What today's exporters write on an "entity" beyond the format's own attributes:
//   "material"       one material for every sub-entity
//   "subentities"    a child with "subentity" children, each "index" and "materialName"
//   "castShadows"    whether the entity casts shadows
// A material that does not exist, or a sub-entity the mesh does not have, is one
// diagnostic line and leaves the mesh's own material. Lines begin with the loader's
// processor of the element, "SceneLoader::processEntity(): ", and name the entity.
class EntityAttributes {
public:
    // Applies the items of `element` to `entity`, then reports the mesh's materials that
    // do not exist where the file gave none of its own.
    static void apply(const TiXmlElement& element, Ogre::Entity& entity,
                      const EntityMaterials& materials, const SceneReport& report);
};

} // namespace corvane
