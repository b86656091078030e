#include "tests/support/FakeHost.h"

#include <algorithm>

#include "framework/HostServices.h"

namespace corvane::testing {

namespace {
FakeHost* activeHost = nullptr;
}

FakeHost::FakeHost() : previous(activeHost) {
    activeHost = this;
}

FakeHost::~FakeHost() {
    activeHost = previous;
}

FakeHost* FakeHost::active() {
    return activeHost;
}

void FakeHost::add(const UUID& pluginId, IUnknown* object) {
    plugins.emplace_back(pluginId, object);
}

void FakeHost::refuse(const UUID& pluginId) {
    refused.push_back(pluginId);
}

std::vector<UUID> FakeHost::pluginsWithInterface(const UUID& iid) {
    ++listQueries;
    std::vector<UUID> answer;
    for (const auto& [id, object] : plugins) {
        void* pointer = nullptr;
        if (object->QueryInterface(iid, &pointer) == S_OK) {
            object->Release();
            answer.push_back(id);
        }
    }
    return answer;
}

bool FakeHost::pluginInterface(const UUID& pluginId, const UUID& iid, void** out) {
    ++interfaceQueries;
    if (std::find(refused.begin(), refused.end(), pluginId) != refused.end())
        return false;
    for (const auto& [id, object] : plugins)
        if (id == pluginId)
            return object->QueryInterface(iid, out) == S_OK;
    return false;
}

} // namespace corvane::testing

std::list<corvane::UUID> QueryPluginsWithInterface(const corvane::UUID& iid) {
    corvane::testing::FakeHost* host = corvane::testing::FakeHost::active();
    if (host == nullptr)
        return {};
    const std::vector<corvane::UUID> answer = host->pluginsWithInterface(iid);
    return std::list<corvane::UUID>(answer.begin(), answer.end());
}

bool QueryPluginInterface(const corvane::UUID& pluginId, const corvane::UUID& iid, void** out) {
    corvane::testing::FakeHost* host = corvane::testing::FakeHost::active();
    return host != nullptr && host->pluginInterface(pluginId, iid, out);
}
