#include "platform/SystemError.h"

#include <cerrno>
#include <system_error>
#include <unistd.h>

namespace corvane {

std::string SystemError::reason(int error) {
    return std::error_code(error, std::generic_category()).message();
}

bool SystemError::writeAll(int descriptor, std::string_view bytes) {
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(descriptor, data, left);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace corvane
