#include "viewer/control/SceneObjectRegistry.h"

#include <OgreEntity.h>
#include <OgreSceneManager.h>

namespace corvane {

SceneObjectRegistry::SceneObjectRegistry(DiagnosticSink* sink) : sink(sink) {}

SceneObjectRegistry::~SceneObjectRegistry() = default;

SceneObjectControl* SceneObjectRegistry::find(Ogre::SceneManager* sceneManager,
                                              const std::string& entityName) {
    // getEntity throws for a name it does not know.
    if (!sceneManager || !sceneManager->hasEntity(entityName))
        return nullptr;
    Ogre::Entity* const entity = sceneManager->getEntity(entityName);
    const auto [entry, made] =
        controls.try_emplace(entityName, entity, sceneManager, animationNames, sink);
    updateOrderStale = updateOrderStale || made;
    // An entity made anew under the name of a destroyed one takes over its control.
    if (!made && entry->second.getEntity() != entity)
        entry->second.rebind(entity);
    return &entry->second;
}

void SceneObjectRegistry::update(double seconds, bool reportTargets) {
    if (updateOrderStale) {
        updateOrder.clear();
        for (auto& [name, control] : controls)
            updateOrder.push_back(&control);
        updateOrderStale = false;
    }
    SceneObjectControl::updateEach(updateOrder, seconds, reportTargets);
}

std::size_t SceneObjectRegistry::size() const {
    return controls.size();
}

} // namespace corvane
