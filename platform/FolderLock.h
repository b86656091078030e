#pragma once

#include <cstdint>
#include <string>

namespace corvane {

// A folder that one run at a time writes into: made with its parents when it is missing,
// found writable, and locked against other processes until released. The lock is a hidden
// file in the folder, ".corvane.lock", which goes with the lock; one that a killed run left
// is taken over, since the system drops a process's locks when it ends. The system's locks
// belong to the process: a second lock of the folder in the same process is granted, and
// releasing either releases both.
class FolderLock {
public:
    enum class Outcome {
        LOCKED,   // the folder is this run's until release()
        IN_USE,   // another process holds it; `error` names that process when it can
        UNUSABLE, // it cannot be made or written into; `error` has the system's reason
    };

    FolderLock() = default;
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // Makes and locks `folder`. On IN_USE `error` is "process 4242" (or empty when the
    // holder cannot be told); on UNUSABLE, the reason ("Permission denied"). With `count`
    // above 0 only the numbers `first` to first + count - 1 of the folder are locked (a
    // film's frames): runs that lock other numbers write into the folder side by side, and
    // the lock file stays until the last of them releases its own.
    Outcome acquire(const std::string& folder, std::string& error, std::uint64_t first = 0,
                    std::uint64_t count = 0);
    // Removes the lock file and unlocks; nothing when nothing is held.
    void release();
    bool held() const { return descriptor >= 0; }

    static const char* const LOCK_FILE;

private:
    int descriptor = -1;
    std::string lockPath;
};

} // namespace corvane
