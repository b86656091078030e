#include "platform/FolderLock.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/SystemError.h"

namespace corvane {

namespace {

bool sameFile(int descriptor, const std::string& path) {
    struct stat opened {};
    struct stat named {};
    return ::fstat(descriptor, &opened) == 0 && ::stat(path.c_str(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

struct flock wholeFile(short type) {
    struct flock region {};
    region.l_type = type;
    region.l_whence = SEEK_SET;
    return region;
}

// The bytes that stand for the numbers `first` to first + count - 1; all of them for 0.
struct flock numbers(std::uint64_t first, std::uint64_t count) {
    struct flock region = wholeFile(F_WRLCK);
    region.l_start = static_cast<off_t>(first);
    region.l_len = static_cast<off_t>(count);
    return region;
}

} // namespace

const char* const FolderLock::LOCK_FILE = ".corvane.lock";

FolderLock::~FolderLock() {
    release();
}

FolderLock::Outcome FolderLock::acquire(const std::string& folder, std::string& error,
                                        std::uint64_t first, std::uint64_t count) {
    release();
    std::error_code made;
    std::filesystem::create_directories(folder, made);
    std::error_code ignored;
    if (!made && !std::filesystem::is_directory(folder, ignored))
        made = std::make_error_code(std::errc::not_a_directory);
    if (made) {
        error = made.message();
        return Outcome::UNUSABLE;
    }
    lockPath = (std::filesystem::path(folder) / LOCK_FILE).string();
    // A holder that ends removes the file it locked, while another run may have opened it
    // already: whoever locks a file that no longer has the name opens the name again.
    for (int attempt = 0; attempt < 64; ++attempt) {
        const int file = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (file < 0) {
            error = SystemError::reason(errno);
            return Outcome::UNUSABLE;
        }
        struct flock region = numbers(first, count);
        if (::fcntl(file, F_SETLK, &region) != 0) {
            const int cause = errno;
            if (cause == EACCES || cause == EAGAIN) {
                struct flock holder = numbers(first, count);
                error = ::fcntl(file, F_GETLK, &holder) == 0 && holder.l_type != F_UNLCK
                            ? "process " + std::to_string(holder.l_pid)
                            : "";
                ::close(file);
                return Outcome::IN_USE;
            }
            // A file system without locks (ENOLCK) still takes the files: written unlocked.
            if (cause != ENOLCK && cause != EOPNOTSUPP) {
                ::close(file);
                error = SystemError::reason(cause);
                return Outcome::UNUSABLE;
            }
        }
        if (sameFile(file, lockPath)) {
            descriptor = file;
            return Outcome::LOCKED;
        }
        ::close(file);
    }
    error = "the lock file keeps changing";
    return Outcome::UNUSABLE;
}

void FolderLock::release() {
    if (descriptor < 0)
        return;
    // Removed only while it is still the file this lock holds (a lock that the same
    // process released before may have let another run lay a new one) and no other run
    // holds numbers of it.
    struct flock others = wholeFile(F_WRLCK);
    const bool alone = ::fcntl(descriptor, F_GETLK, &others) != 0 || others.l_type == F_UNLCK;
    if (alone && sameFile(descriptor, lockPath))
        ::unlink(lockPath.c_str());
    ::close(descriptor);
    descriptor = -1;
}

} // namespace corvane
