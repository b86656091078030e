#include "platform/FileAccess.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/SystemError.h"

namespace corvane {

namespace {

// Opens `path` for reading when it is a file that can be read to its end; else -1 with the
// reason in `why`.
int openReadable(const std::string& path, std::string& why) {
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (file < 0) {
        why = SystemError::reason(errno);
        return -1;
    }
    struct stat status {};
    const bool known = ::fstat(file, &status) == 0;
    if (known && S_ISDIR(status.st_mode))
        why = SystemError::reason(EISDIR);
    // A pipe or a device would be read without end.
    else if (known && !S_ISREG(status.st_mode))
        why = "not a regular file";
    if (why.empty())
        return file;
    ::close(file);
    return -1;
}

} // namespace

std::string FileAccess::whyNotReadable(const std::string& path) {
    std::string why;
    if (const int file = openReadable(path, why); file >= 0)
        ::close(file);
    return why;
}

std::string FileAccess::read(const std::string& path, std::string& text) {
    std::string why;
    const int file = openReadable(path, why);
    if (file < 0)
        return why;
    text.clear();
    char buffer[65536];
    ssize_t got = 0;
    while ((got = ::read(file, buffer, sizeof buffer)) != 0) {
        if (got < 0 && errno != EINTR)
            break;
        if (got > 0)
            text.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(file);
    return got == 0 ? "" : "cannot be read";
}

std::string FileAccess::whyNotListable(const std::string& path) {
    DIR* folder = ::opendir(path.c_str());
    if (folder == nullptr)
        return SystemError::reason(errno);
    // A folder that may be entered but not read opens all the same on some file systems:
    // its first entry tells.
    errno = 0;
    const bool listed = ::readdir(folder) != nullptr || errno == 0;
    const int cause = errno;
    ::closedir(folder);
    return listed ? "" : SystemError::reason(cause);
}

std::string FileAccess::whyNotWritable(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return SystemError::reason(errno);
    if (!S_ISDIR(status.st_mode))
        return SystemError::reason(ENOTDIR);
    return ::access(path.c_str(), W_OK | X_OK) == 0 ? "" : SystemError::reason(errno);
}

} // namespace corvane
