#pragma once

#include <cstddef>
#include <cstdint>
#include <set>

#include "framework/IUnknown.h"
#include "framework/Identifiers.h"
#include "framework/PluginInfo.h"

class TiXmlElement;

namespace corvane::tools {

// A plug-in for soak runs, listed last in the host configuration: at the frames its
// environment names (<sample frame="N"/>) and when it stops it writes the process's
// resident memory as "rss_after_N_frames_kib: KIB" and "rss_at_end_kib: KIB", one
// diagnostic line each. It serves nothing.
class MemoryProbe final : public IUnknown {
public:
    HRESULT QueryInterface(const UUID& iid, void** out) override;
    std::int32_t AddRef() override;
    std::int32_t Release() override;

    PLUGIN_INFO pluginInfo();
    void parseEnvironment(const TiXmlElement* environment);
    bool start();
    bool renderFrame(float seconds);
    void stop();

private:
    std::set<std::uint64_t> sampleFrames;
    std::uint64_t frame = 0;
    std::int32_t referenceCount = 0;
};

} // namespace corvane::tools
