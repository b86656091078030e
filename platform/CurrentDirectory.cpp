#include "platform/CurrentDirectory.h"

#include <filesystem>
#include <system_error>

namespace corvane {

std::string CurrentDirectory::get() {
    std::error_code error;
    std::filesystem::path path = std::filesystem::current_path(error);
    return error ? std::string() : path.string();
}

bool CurrentDirectory::set(const std::string& path) {
    std::error_code error;
    std::filesystem::current_path(path, error);
    return !error;
}

} // namespace corvane
