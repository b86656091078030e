#include "viewer/scene/EntityAttributes.h"

#include <OgreEntity.h>
#include <OgreMesh.h>
#include <OgreStringConverter.h>
#include <OgreSubEntity.h>
#include <charconv>
#include <cstring>
#include <string>
#include <tinyxml.h>
#include <vector>

#include "viewer/scene/EntityMaterials.h"
#include "viewer/scene/SceneReport.h"

namespace corvane {

namespace {

const char* const ORIGIN = "SceneLoader::processEntity()";

// Puts `material` on the sub-entities of `entity` from `first` to before `last`, and marks
// them as given one by the file; one line instead when it does not exist.
void assign(Ogre::Entity& entity, std::size_t first, std::size_t last, const std::string& material,
            const std::string& what, std::vector<bool>& given, const SceneReport& report, int row) {
    for (std::size_t index = first; index < last; ++index)
        given[index] = true;
    if (!EntityMaterials::exists(material)) {
        report.error(ORIGIN, row,
                     entity.getName() + what + " is given material \"" + material +
                         "\", which does not exist; it keeps the mesh's");
        return;
    }
    for (std::size_t index = first; index < last; ++index)
        entity.getSubEntity(index)->setMaterialName(material);
}

// The sub-entity that `text` numbers, or false when `entity` has none of that number.
bool subEntityIndex(const Ogre::Entity& entity, const char* text, std::size_t& index) {
    const char* end = text + std::strlen(text);
    const auto [stop, error] = std::from_chars(text, end, index);
    return error == std::errc() && stop == end && index < entity.getNumSubEntities();
}

} // namespace

void EntityAttributes::apply(const TiXmlElement& element, Ogre::Entity& entity,
                             const EntityMaterials& materials, const SceneReport& report) {
    const std::size_t count = entity.getNumSubEntities();
    std::vector<bool> given(count, false);
    if (const char* material = element.Attribute("material"))
        assign(entity, 0, count, material, "", given, report, element.Row());

    if (const TiXmlElement* list = element.FirstChildElement("subentities"))
        for (const TiXmlElement* sub = list->FirstChildElement("subentity"); sub != nullptr;
             sub = sub->NextSiblingElement("subentity")) {
            const char* indexText = sub->Attribute("index");
            const char* material = sub->Attribute("materialName");
            if (material == nullptr)
                continue;
            std::size_t index = 0;
            if (indexText == nullptr || !subEntityIndex(entity, indexText, index)) {
                report.error(ORIGIN, sub->Row(),
                             entity.getName() + " has no sub-entity \"" +
                                 (indexText != nullptr ? indexText : "") + "\" (its mesh \"" +
                                 entity.getMesh()->getName() + "\" has " + std::to_string(count) +
                                 "); the \"subentity\" element is skipped");
                continue;
            }
            assign(entity, index, index + 1, material, "'s sub-entity " + std::to_string(index),
                   given, report, sub->Row());
        }

    if (const char* cast = element.Attribute("castShadows"))
        entity.setCastShadows(Ogre::StringConverter::parseBool(cast, entity.getCastShadows()));

    materials.reportMissing(entity, given, report, element.Row());
}

} // namespace corvane
