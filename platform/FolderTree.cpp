#include "platform/FolderTree.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace corvane {

namespace {

void collect(const std::filesystem::path& folder, std::vector<std::string>& folders) {
    std::error_code error;
    std::vector<std::filesystem::path> children;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (name.empty() || name.front() == '.')
            continue;
        std::error_code kindError;
        if (entry->is_directory(kindError) && !entry->is_symlink(kindError))
            children.push_back(entry->path());
    }
    std::sort(children.begin(), children.end());
    for (const std::filesystem::path& child : children) {
        folders.push_back(child.string());
        collect(child, folders);
    }
}

} // namespace

std::vector<std::string> FolderTree::below(const std::string& folder) {
    std::vector<std::string> folders;
    collect(folder, folders);
    return folders;
}

} // namespace corvane
