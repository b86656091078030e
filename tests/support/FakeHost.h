#pragma once

#include <string>
#include <utility>
#include <vector>

#include "framework/IUnknown.h"
#include "framework/UUID.h"

namespace corvane::testing {

// Stands in for the host's two query services in a test that links a plug-in's code
// directly: the listed objects answer in the order they were added.
class FakeHost {
public:
    FakeHost();
    ~FakeHost();

    // Adds a plug-in whose object answers the ids its QueryInterface grants.
    void add(const UUID& pluginId, IUnknown* object);
    // Refuses QueryPluginInterface for this plug-in although it is listed.
    void refuse(const UUID& pluginId);

    // How often each service was called.
    int listQueries = 0;
    int interfaceQueries = 0;

    std::vector<UUID> pluginsWithInterface(const UUID& iid);
    bool pluginInterface(const UUID& pluginId, const UUID& iid, void** out);

    static FakeHost* active();

private:
    std::vector<std::pair<UUID, IUnknown*>> plugins;
    std::vector<UUID> refused;
    FakeHost* previous;
};

} // namespace corvane::testing
