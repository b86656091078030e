#include "services/sound/SoundFiles.h"

#include <filesystem>
#include <system_error>

#include "platform/FolderTree.h"

namespace corvane {

const char* const SoundFiles::ENDINGS[] = {".wav", ".ogg", ".flac", nullptr};

void SoundFiles::addFolder(const std::string& folder) {
    folders.push_back(folder);
    for (std::string& below : FolderTree::below(folder))
        folders.push_back(std::move(below));
}

std::string SoundFiles::find(const std::string& name) const {
    // A name is looked up inside the folders, never beside or above them.
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos ||
        name.find('\0') != std::string::npos)
        return {};
    std::error_code ignored;
    for (const std::string& folder : folders)
        for (const char* const* ending = ENDINGS; *ending != nullptr; ++ending) {
            const std::filesystem::path file = std::filesystem::path(folder) / (name + *ending);
            if (std::filesystem::is_regular_file(file, ignored))
                return file.string();
        }
    return {};
}

} // namespace corvane
