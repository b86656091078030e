#include "playback/ScriptSource.h"

#include <chrono>
#include <filesystem>
#include <tinyxml.h>
#include <tuple>
#include <utility>

#include "platform/DebugOutput.h"
#include "platform/ProcessMemory.h"
#include "playback/KeyframeLoader.h"

namespace corvane {

const char* const ScriptSource::DEFAULT_FILE = "keyframes.xml";

void ScriptSource::configure(const TiXmlElement* script) {
    if (script == nullptr)
        return;
    const std::string row = " (row " + std::to_string(script->Row()) + ")";
    if (const char* source = script->Attribute("src")) {
        if (*source != '\0')
            file = source;
        else
            DebugOutput::line("PlaybackController::parseEnvironment(): \"script\"" + row +
                              " has an empty \"src\"; the script stays \"" + file + "\"");
    }
    if (const char* watch = script->Attribute("watch")) {
        const std::string value = watch;
        if (value == "true" || value == "false")
            watched = value == "true";
        else
            DebugOutput::line("PlaybackController::parseEnvironment(): \"script\"" + row +
                              " has watch=\"" + value +
                              "\", neither \"true\" nor \"false\"; the script is not watched");
    }
}

void ScriptSource::start() {
    if (watched)
        watch.watch(file);
}

namespace {

// The file's modification time in nanoseconds and its size, or -1 for both when it is not
// there.
std::pair<std::int64_t, std::int64_t> stampOf(const std::string& path) {
    std::error_code error;
    const auto modified = std::filesystem::last_write_time(path, error);
    if (error)
        return {-1, -1};
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error)
        return {-1, -1};
    return {
        std::chrono::duration_cast<std::chrono::nanoseconds>(modified.time_since_epoch()).count(),
        static_cast<std::int64_t>(size)};
}

} // namespace

bool ScriptSource::load(KeyframeMap& keyframes) {
    // Taken before reading, so that a change while it is read counts as a change.
    std::tie(loadedModified, loadedSize) = stampOf(file);
    const bool loaded = KeyframeLoader::load(file, keyframes);
    // The parsed file took many times the room of its keyframes, which were made while it
    // stood and now lie above it on the heap, where they keep it from going back by itself.
    ProcessMemory::returnFreedMemory();
    return loaded;
}

bool ScriptSource::changedSinceLoad() const {
    return stampOf(file) != std::make_pair(loadedModified, loadedSize);
}

void ScriptSource::wroteFile() {
    std::tie(loadedModified, loadedSize) = stampOf(file);
}

bool ScriptSource::changed(float seconds) {
    return watched && watch.changed(seconds);
}

} // namespace corvane
