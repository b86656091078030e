#include "host/ApplicationFolder.h"

#include <filesystem>
#include <random>
#include <system_error>

#include "framework/XmlReader.h"
#include "platform/FolderLock.h"

#ifndef CORVANE_INSTALLED_RUNTIME
#define CORVANE_INSTALLED_RUNTIME "share/corvane/runtime"
#endif

namespace corvane {

namespace {

namespace fs = std::filesystem;

// What a run needs of the runtime folder, relative to it.
const char* const FILES[] = {
    "plugins/SceneViewer_Release/plugins.cfg",
    "plugins/SceneViewer_Release/ogre.cfg",
    "plugins/OgreCore/OgreCore.zip",
};

bool holdsRuntime(const fs::path& folder) {
    std::error_code ignored;
    for (const char* file : FILES)
        if (!fs::is_regular_file(folder / file, ignored))
            return false;
    return true;
}

bool sameContent(const fs::path& a, const fs::path& b) {
    std::error_code ignored;
    if (!fs::is_regular_file(b, ignored) || fs::file_size(a, ignored) != fs::file_size(b, ignored))
        return false;
    std::string first;
    std::string second;
    return XmlReader::readFile(a.string(), first) && XmlReader::readFile(b.string(), second) &&
           first == second;
}

// Copies `from` beside `to` under a name of its own, then puts it in place in one step.
bool replace(const fs::path& from, const fs::path& to, std::string& error) {
    std::error_code failure;
    fs::create_directories(to.parent_path(), failure);
    const fs::path part = to.string() + "." + std::to_string(std::random_device()()) + ".part";
    if (!failure)
        fs::copy_file(from, part, fs::copy_options::overwrite_existing, failure);
    if (!failure)
        fs::rename(part, to, failure);
    if (!failure)
        return true;
    std::error_code ignored;
    fs::remove(part, ignored);
    error = to.string() + ": " + failure.message();
    return false;
}

} // namespace

std::string ApplicationFolder::findRuntime(const std::string& hostFolder) {
    const fs::path host(hostFolder);
    const fs::path installed(CORVANE_INSTALLED_RUNTIME);
    for (const fs::path& candidate :
         {host / ".." / "runtime", installed.is_absolute() ? installed : host / ".." / installed})
        if (holdsRuntime(candidate))
            return candidate.lexically_normal().string();
    return {};
}

bool ApplicationFolder::layOut(const std::string& runtime, const std::string& folder,
                               std::string& error) {
    for (const char* file : FILES) {
        const fs::path from = fs::path(runtime) / file;
        const fs::path to = fs::path(folder) / file;
        if (!sameContent(from, to) && !replace(from, to, error))
            return false;
    }
    return true;
}

std::string ApplicationFolder::claim(const std::string& base, FolderLock& lock,
                                     std::string& error) {
    // As many as runs side by side on one machine can need.
    constexpr int FOLDERS = 64;
    for (int number = 1; number <= FOLDERS; ++number) {
        const std::string folder = number == 1 ? base : base + "-" + std::to_string(number);
        switch (lock.acquire(folder, error)) {
        case FolderLock::Outcome::LOCKED:
            return folder;
        case FolderLock::Outcome::IN_USE:
            continue;
        case FolderLock::Outcome::UNUSABLE:
            error = folder + ": " + error;
            return {};
        }
    }
    error = base + " and " + std::to_string(FOLDERS - 1) + " more are in use by other runs";
    return {};
}

} // namespace corvane
