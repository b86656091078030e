#include "framework/HostServices.h"

#include "host/PluginHost.h"

std::list<corvane::UUID> QueryPluginsWithInterface(const corvane::UUID& iid) {
    corvane::PluginHost* host = corvane::PluginHost::active();
    return host != nullptr ? host->pluginsWithInterface(iid) : std::list<corvane::UUID>();
}

bool QueryPluginInterface(const corvane::UUID& pluginId, const corvane::UUID& iid, void** out) {
    corvane::PluginHost* host = corvane::PluginHost::active();
    return host != nullptr && host->pluginInterface(pluginId, iid, out);
}
