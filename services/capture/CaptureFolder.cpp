#include "services/capture/CaptureFolder.h"

#include <filesystem>
#include <system_error>

#include "framework/IOutputStatus.h"
#include "platform/DebugOutput.h"

namespace corvane {

bool CaptureFolder::acquire(const std::string& folder, std::int32_t& status, std::uint64_t first,
                            std::uint64_t count) {
    std::error_code ignored;
    const std::string shown = std::filesystem::absolute(folder, ignored).string();
    std::string error;
    switch (lock.acquire(folder, error, first, count)) {
    case FolderLock::Outcome::LOCKED:
        return true;
    case FolderLock::Outcome::IN_USE:
        DebugOutput::line(
            "FrameCapture::start(): " +
            (count > 0 ? "frames " + std::to_string(first) + " to " +
                             std::to_string(first + count - 1) + " of " + shown + " are"
                       : shown + " is") +
            " being written by another run" + (error.empty() ? "" : " (" + error + ")"));
        // A farm's range that another task still writes is worth a new try once that ends.
        status = count > 0 ? IOutputStatus::OUTPUT_FAILED : IOutputStatus::OUTPUT_IN_USE;
        return false;
    case FolderLock::Outcome::UNUSABLE:
        break;
    }
    DebugOutput::line("FrameCapture::start(): cannot write into " + shown + ": " + error);
    status = IOutputStatus::OUTPUT_FAILED;
    return false;
}

} // namespace corvane
