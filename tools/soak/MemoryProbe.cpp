#include "tools/soak/MemoryProbe.h"

#include <string>
#include <tinyxml.h>

#include "platform/DebugOutput.h"
#include "platform/ProcessMemory.h"

namespace corvane::tools {

namespace {

constexpr UUID PLUGIN_ID_MEMORY_PROBE =
    UUID::fromFields(0x5A0C0001, 0x0000, 0x0000, 0x0000000000000001);

} // namespace

HRESULT MemoryProbe::QueryInterface(const UUID& iid, void** out) {
    if (iid != IID_IUnknown)
        return E_FAIL;
    *out = static_cast<IUnknown*>(this);
    AddRef();
    return S_OK;
}

std::int32_t MemoryProbe::AddRef() {
    return ++referenceCount;
}

std::int32_t MemoryProbe::Release() {
    return --referenceCount;
}

PLUGIN_INFO MemoryProbe::pluginInfo() {
    return PLUGIN_INFO{PLUGIN_ID_MEMORY_PROBE, {}, {}, this};
}

void MemoryProbe::parseEnvironment(const TiXmlElement* environment) {
    if (environment == nullptr)
        return;
    for (const TiXmlElement* sample = environment->FirstChildElement("sample"); sample != nullptr;
         sample = sample->NextSiblingElement("sample")) {
        int at = 0;
        if (sample->QueryIntAttribute("frame", &at) == TIXML_SUCCESS && at > 0)
            sampleFrames.insert(static_cast<std::uint64_t>(at));
        else
            DebugOutput::line("MemoryProbe: a \"sample\" needs a \"frame\" above 0");
    }
}

bool MemoryProbe::start() {
    return true;
}

bool MemoryProbe::renderFrame(float) {
    ++frame;
    if (sampleFrames.count(frame) != 0)
        DebugOutput::line("rss_after_" + std::to_string(frame) +
                          "_frames_kib: " + std::to_string(ProcessMemory::residentKiB()));
    return true;
}

void MemoryProbe::stop() {
    DebugOutput::line("rss_at_end_kib: " + std::to_string(ProcessMemory::residentKiB()));
}

} // namespace corvane::tools
