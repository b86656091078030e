#include "viewer/scene/SceneParticleSystem.h"

#include <OgreParticleSystem.h>
#include <OgreParticleSystemManager.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <string>
#include <tinyxml.h>

#include "viewer/scene/SceneLoader.h"
#include "viewer/scene/SceneReport.h"
#include "viewer/scene/SceneSpellings.h"

namespace corvane {

void SceneParticleSystem::create(const TiXmlElement& element, Ogre::SceneManager& sceneManager,
                                 Ogre::SceneNode& node, const SceneReport& report) {
    const char* const origin = "SceneLoader::processParticleSystem()";
    const int row = element.Row();
    std::string name;
    SceneLoader::getAttribute(&element, "name", name);
    if (name.empty())
        name = SceneLoader::makeAutoName();
    name = "particle_" + name;
    if (sceneManager.hasParticleSystem(name)) {
        report.error(origin, row,
                     "there is already a particle system " + name + "; this one is skipped");
        return;
    }
    const char* templateName = SceneSpellings::attribute(&element, "template");
    if (templateName == nullptr || *templateName == '\0') {
        report.error(origin, row, name + " names no template; it is skipped");
        return;
    }
    if (Ogre::ParticleSystemManager::getSingleton().getTemplate(templateName) == nullptr) {
        report.error(origin, row,
                     name + " uses template \"" + templateName +
                         "\", which does not exist; it is skipped");
        return;
    }
    node.attachObject(sceneManager.createParticleSystem(name, templateName));
}

} // namespace corvane
