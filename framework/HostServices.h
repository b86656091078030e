#pragma once

#include <list>

#include "framework/UUID.h"

// The host's two plug-in query services, exported by the host executable and resolved by
// every plug-in when it is opened. Called only on the host's thread.

// The pluginId of every loaded plug-in that answers `iid`, in the host's order. The
// caller owns the list.
extern "C" __attribute__((visibility("default"))) std::list<corvane::UUID>
QueryPluginsWithInterface(const corvane::UUID& iid);

// On success *out holds the plug-in's pointer for `iid`, obtained through its
// QueryInterface (one reference added, which the caller keeps); false for an unknown
// plug-in or an id it does not answer, *out untouched.
extern "C" __attribute__((visibility("default"))) bool
QueryPluginInterface(const corvane::UUID& pluginId, const corvane::UUID& iid, void** out);
