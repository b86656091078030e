#include "platform/FileWatch.h"

#include <chrono>
#include <filesystem>
#include <system_error>

namespace corvane {

void FileWatch::watch(const std::string& watched) {
    path = watched;
    reported = candidate = stampOf(path);
    sinceCheck = 0.0f;
}

bool FileWatch::changed(float seconds) {
    if (path.empty())
        return false;
    // Time that is not a positive number passes no time.
    if (seconds > 0.0f)
        sinceCheck += seconds;
    if (!(sinceCheck >= CHECK_INTERVAL))
        return false;
    sinceCheck = 0.0f;
    const Stamp now = stampOf(path);
    const bool settled = now != reported && now == candidate;
    candidate = now;
    if (settled)
        reported = now;
    return settled;
}

FileWatch::Stamp FileWatch::stampOf(const std::string& path) {
    std::error_code error;
    Stamp stamp;
    const std::filesystem::file_time_type modified = std::filesystem::last_write_time(path, error);
    if (error)
        return stamp;
    stamp.exists = true;
    stamp.modified =
        std::chrono::duration_cast<std::chrono::nanoseconds>(modified.time_since_epoch()).count();
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    stamp.size = error ? 0 : size;
    return stamp;
}

} // namespace corvane
