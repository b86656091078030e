#include "platform/FileAccess.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/SystemError.h"

namespace corvane {

std::string FileAccess::whyNotReadable(const std::string& path) {
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (file < 0)
        return SystemError::reason(errno);
    struct stat status {};
    const bool known = ::fstat(file, &status) == 0;
    ::close(file);
    if (known && S_ISDIR(status.st_mode))
        return SystemError::reason(EISDIR);
    // A pipe or a device would be read without end.
    return !known || S_ISREG(status.st_mode) ? "" : "not a regular file";
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
