#pragma once

#include <cstdint>
#include <string>

#include "platform/FolderLock.h"

namespace corvane {

// The folder a capture writes its PNG files into: made, found writable and locked for this
// run (FolderLock). What keeps a run from it is one line, and the output status that the
// host's exit status tells (IOutputStatus).
class CaptureFolder {
public:
    // True when the folder is this run's; else one line, and `status` is OUTPUT_IN_USE or
    // OUTPUT_FAILED.
    bool acquire(const std::string& folder, std::int32_t& status);
    void release() { lock.release(); }

private:
    FolderLock lock;
};

} // namespace corvane
