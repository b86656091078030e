#include "tests/support/TemporaryFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace corvane::testing {

TemporaryFolder::TemporaryFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "corvane-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a temporary folder");
    folder = std::filesystem::canonical(pattern).string();
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

std::string TemporaryFolder::write(const std::string& relative, const std::string& text) const {
    const std::filesystem::path path = std::filesystem::path(folder) / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
}

std::string TemporaryFolder::read(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

CurrentDirectoryScope::CurrentDirectoryScope(const std::string& path)
    : previous(std::filesystem::current_path().string()) {
    std::filesystem::current_path(path);
}

CurrentDirectoryScope::~CurrentDirectoryScope() {
    std::error_code ignored;
    std::filesystem::current_path(previous, ignored);
}

} // namespace corvane::testing
