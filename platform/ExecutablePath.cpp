#include "platform/ExecutablePath.h"

#include <filesystem>
#include <system_error>

namespace corvane {

std::string ExecutablePath::folder() {
    return std::filesystem::path(file()).parent_path().string();
}

std::string ExecutablePath::file() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : self.string();
}

} // namespace corvane
