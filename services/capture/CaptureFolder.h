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
    // OUTPUT_FAILED (also for frames that another run holds: a new try may find them free).
    // With `count` above 0, only the frames `first` to first + count - 1 (FolderLock).
    bool acquire(const std::string& folder, std::int32_t& status, std::uint64_t first = 0,
                 std::uint64_t count = 0);
    void release() { lock.release(); }

private:
    FolderLock lock;
};

} // namespace corvane
