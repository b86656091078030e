#include "viewer/scene/MaterialFallback.h"

#include <OgreEntity.h>
#include <OgreMaterial.h>
#include <OgrePass.h>
#include <OgreRoot.h>
#include <OgreString.h>
#include <OgreSubEntity.h>
#include <OgreTechnique.h>
#include <OgreTextureUnitState.h>
#include <map>
#include <optional>
#include <string>

#include "platform/DebugOutput.h"
#include "viewer/scene/SceneReport.h"

namespace corvane {

namespace {

// What a fixed-function pass keeps of the first pass of a material.
struct FirstPass {
    Ogre::ColourValue ambient = Ogre::ColourValue::White;
    Ogre::ColourValue diffuse = Ogre::ColourValue::White;
    Ogre::ColourValue specular = Ogre::ColourValue::Black;
    Ogre::ColourValue emissive = Ogre::ColourValue::Black;
    Ogre::Real shininess = 0;
    bool lighting = true;
    Ogre::SceneBlendFactor source = Ogre::SBF_ONE;
    Ogre::SceneBlendFactor destination = Ogre::SBF_ZERO;
    bool depthWrite = true;
    Ogre::CullingMode culling = Ogre::CULL_CLOCKWISE;
    std::string texture;
    std::optional<Ogre::Sampler::UVWAddressingMode> addressing;
};

FirstPass firstPassOf(Ogre::Material& material) {
    FirstPass kept;
    if (material.getNumTechniques() == 0 || material.getTechnique(0)->getNumPasses() == 0)
        return kept;
    const Ogre::Pass& pass = *material.getTechnique(0)->getPass(0);
    kept.ambient = pass.getAmbient();
    kept.diffuse = pass.getDiffuse();
    kept.specular = pass.getSpecular();
    kept.emissive = pass.getSelfIllumination();
    kept.shininess = pass.getShininess();
    kept.lighting = pass.getLightingEnabled();
    kept.source = pass.getSourceBlendFactor();
    kept.destination = pass.getDestBlendFactor();
    kept.depthWrite = pass.getDepthWriteEnabled();
    kept.culling = pass.getCullingMode();
    for (const Ogre::TextureUnitState* unit : pass.getTextureUnitStates())
        if (!unit->getTextureName().empty()) {
            kept.texture = unit->getTextureName();
            kept.addressing = unit->getTextureAddressingMode();
            break;
        }
    return kept;
}

void remake(Ogre::Material& material) {
    const FirstPass kept = firstPassOf(material);
    material.removeAllTechniques();
    Ogre::Pass* pass = material.createTechnique()->createPass();
    pass->setAmbient(kept.ambient);
    pass->setDiffuse(kept.diffuse);
    pass->setSpecular(kept.specular);
    pass->setSelfIllumination(kept.emissive);
    pass->setShininess(kept.shininess);
    pass->setLightingEnabled(kept.lighting);
    pass->setSceneBlending(kept.source, kept.destination);
    pass->setDepthWriteEnabled(kept.depthWrite);
    pass->setCullingMode(kept.culling);
    if (!kept.texture.empty()) {
        Ogre::TextureUnitState* unit = pass->createTextureUnitState(kept.texture);
        if (kept.addressing)
            unit->setTextureAddressingMode(*kept.addressing);
    }
    material.compile();
}

} // namespace

void MaterialFallback::apply(const std::vector<Ogre::Entity*>& entities,
                             const SceneReport& report) {
    if (Ogre::Root::getSingletonPtr() == nullptr ||
        Ogre::Root::getSingleton().getRenderSystem() == nullptr)
        return;
    // The unsupported materials, each with the entities that use it, in the order met; an
    // entity's sub-entities come one after the other, so the last user is enough to name
    // each entity once.
    struct Users {
        std::string names;
        const Ogre::Entity* last;
    };
    std::map<Ogre::Material*, Users> users;
    std::vector<Ogre::MaterialPtr> unsupported;
    for (Ogre::Entity* entity : entities)
        for (const Ogre::SubEntity* sub : entity->getSubEntities()) {
            const Ogre::MaterialPtr& material = sub->getMaterial();
            if (!material)
                continue;
            // Loading compiles it: the engine then knows which techniques it supports.
            material->load();
            if (!material->getSupportedTechniques().empty())
                continue;
            const auto [entry, first] =
                users.try_emplace(material.get(), Users{entity->getName(), entity});
            if (first) {
                unsupported.push_back(material);
            } else if (entry->second.last != entity) {
                entry->second.names += ", " + entity->getName();
                entry->second.last = entity;
            }
        }
    for (const Ogre::MaterialPtr& material : unsupported) {
        std::string reason = DebugOutput::oneLine(material->getUnsupportedTechniquesExplanation());
        Ogre::StringUtil::trim(reason);
        remake(*material);
        report.error("SceneLoader::load()", 0,
                     "material \"" + material->getName() + "\" of " + users[material.get()].names +
                         " has no technique this render system supports (" +
                         (reason.empty() ? "no reason given" : reason) +
                         "); it is drawn from its first pass's colours and first texture");
    }
}

} // namespace corvane
