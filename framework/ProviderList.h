#pragma once

#include <forward_list>
#include <list>

#include "framework/HostServices.h"
#include "framework/UUID.h"

namespace corvane {

// The providers of one interface id, found through the host. An empty list asks the host
// again on each bind(); once it holds a provider it is never queried again, also not for
// plug-ins that appear later. Pointers are kept until unload and never released.
template <class Interface>
class ProviderList {
public:
    // When empty: asks the host for every plug-in answering `iid` and inserts each granted
    // pointer at the front, so providers are visited in the reverse of the host's order;
    // onBound(provider) runs right after each insertion.
    template <class OnBound>
    void bind(const UUID& iid, OnBound&& onBound) {
        if (!providers.empty())
            return;
        const std::list<UUID> plugins = QueryPluginsWithInterface(iid);
        for (const UUID& plugin : plugins) {
            void* pointer = nullptr;
            if (!QueryPluginInterface(plugin, iid, &pointer) || pointer == nullptr)
                continue;
            Interface* provider = static_cast<Interface*>(pointer);
            providers.push_front(provider);
            onBound(provider);
        }
    }

    void bind(const UUID& iid) {
        bind(iid, [](Interface*) {});
    }

    bool empty() const { return providers.empty(); }
    typename std::forward_list<Interface*>::const_iterator begin() const {
        return providers.begin();
    }
    typename std::forward_list<Interface*>::const_iterator end() const { return providers.end(); }

private:
    std::forward_list<Interface*> providers;
};

} // namespace corvane
