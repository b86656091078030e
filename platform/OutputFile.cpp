#include "platform/OutputFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <unistd.h>

#include "platform/SystemError.h"

namespace corvane {

OutputFile::OutputFile(std::string path) : finalPath(std::move(path)) {}

std::string OutputFile::temporaryName(const std::string& path) {
    const std::string::size_type slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    char tag[16];
    std::snprintf(tag, sizeof tag, "%08x", static_cast<unsigned>(std::random_device()()));
    return folder + "." + name + "." + tag + ".part";
}

OutputFile::~OutputFile() {
    discard();
}

bool OutputFile::fail(std::string& error) {
    if (!failed)
        reason = SystemError::reason(errno);
    failed = true;
    error = reason;
    discard();
    return false;
}

void OutputFile::discard() {
    if (descriptor >= 0)
        ::close(descriptor);
    descriptor = -1;
    if (!temporaryPath.empty())
        ::unlink(temporaryPath.c_str());
    temporaryPath.clear();
}

bool OutputFile::write(std::string_view bytes, std::string& error) {
    if (failed)
        return fail(error);
    // A name taken by a file of another writer is never opened: a fresh one is tried.
    for (int attempt = 0; descriptor < 0; ++attempt) {
        temporaryPath = temporaryName(finalPath);
        descriptor = ::open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor < 0) {
            const int cause = errno;
            temporaryPath.clear();
            if (cause != EEXIST || attempt == 8) {
                errno = cause;
                return fail(error);
            }
        }
    }
    return SystemError::writeAll(descriptor, bytes) || fail(error);
}

bool OutputFile::commit(std::string& error) {
    if (descriptor < 0 && !failed && !write({}, error))
        return false;
    if (failed)
        return fail(error);
    // Some file systems (network ones) tell a failed write only when it is flushed or closed.
    if (::fdatasync(descriptor) != 0)
        return fail(error);
    const int closing = ::close(descriptor);
    descriptor = -1;
    if (closing != 0 || ::rename(temporaryPath.c_str(), finalPath.c_str()) != 0)
        return fail(error);
    temporaryPath.clear();
    return true;
}

bool OutputFile::writeWhole(const std::string& path, std::string_view bytes, std::string& error) {
    OutputFile file(path);
    return file.write(bytes, error) && file.commit(error);
}

} // namespace corvane
