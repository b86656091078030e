#include "services/sound/SoundFiles.h"

#include <filesystem>
#include <system_error>

#include "platform/FolderTree.h"

namespace corvane {

namespace {

// A name is looked up inside the folders, never beside or above them.
bool isFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

} // namespace

const char* const SoundFiles::ENDINGS[] = {".wav", ".ogg", ".flac", nullptr};

void SoundFiles::addFolder(const std::string& folder) {
    folders.push_back(folder);
    for (std::string& below : FolderTree::below(folder))
        folders.push_back(std::move(below));
}

std::string SoundFiles::find(const std::string& name) const {
    if (!isFileName(name))
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

std::set<std::string> SoundFiles::names() const {
    std::set<std::string> found;
    std::error_code error;
    for (const std::string& folder : folders)
        for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
             entry.increment(error)) {
            std::error_code ignored;
            if (!entry->is_regular_file(ignored))
                continue;
            const std::string file = entry->path().filename().string();
            for (const char* const* ending = ENDINGS; *ending != nullptr; ++ending) {
                const std::size_t length = std::char_traits<char>::length(*ending);
                if (file.size() > length &&
                    file.compare(file.size() - length, length, *ending) == 0 &&
                    isFileName(file.substr(0, file.size() - length)))
                    found.insert(file.substr(0, file.size() - length));
            }
        }
    return found;
}

} // namespace corvane
