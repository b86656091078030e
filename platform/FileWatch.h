#pragma once

#include <cstdint>
#include <string>

namespace corvane {

// Tells when a file changed on disk, polled with the time passed in. A change counts once
// the file has looked the same at two checks in a row, so that a file still being written
// is not read half way; its appearing and its going away are changes too.
class FileWatch {
public:
    // Watches `path` from its present state on.
    void watch(const std::string& path);
    // Advances by `seconds`; true once for each change that has settled.
    bool changed(float seconds);

    // Seconds between two looks at the file.
    static constexpr float CHECK_INTERVAL = 0.25f;

private:
    struct Stamp {
        bool exists = false;
        std::int64_t modified = 0; // nanoseconds of the file clock
        std::uintmax_t size = 0;
        bool operator==(const Stamp& other) const {
            return exists == other.exists && modified == other.modified && size == other.size;
        }
        bool operator!=(const Stamp& other) const { return !(*this == other); }
    };
    static Stamp stampOf(const std::string& path);

    std::string path;
    Stamp reported;  // the state last reported (or found when watching began)
    Stamp candidate; // a new state seen at the last check, not yet settled
    float sinceCheck = 0.0f;
};

} // namespace corvane
