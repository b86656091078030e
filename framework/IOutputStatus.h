#pragma once

#include <cstdint>

#include "framework/IUnknown.h"

namespace corvane {

// What became of the files a plug-in writes, for the host's exit status: a run whose
// frames could not be written must not end as if it had written them.
// Id {46E4C91B-8F14-4EF1-AE4C-EB3C968EFCF2}.
class IOutputStatus : public IUnknown {
public:
    enum : std::int32_t {
        OUTPUT_WRITTEN = 0, // everything asked for so far was written (or nothing was asked)
        OUTPUT_FAILED = 1,  // a file or its folder could not be written; the plug-in said why
        OUTPUT_IN_USE = 2,  // another run is writing into the folder; nothing was written
    };

    // Slot 3: one of the values above. May be called at any time after the plug-in was
    // identified: after a start that failed, between frames, after StopPlugin.
    virtual std::int32_t getOutputStatus() = 0;

protected:
    ~IOutputStatus() = default;
};

} // namespace corvane
