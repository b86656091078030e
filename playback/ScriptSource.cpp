#include "playback/ScriptSource.h"

#include <tinyxml.h>

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

bool ScriptSource::load(KeyframeMap& keyframes) const {
    const bool loaded = KeyframeLoader::load(file, keyframes);
    // The parsed file took many times the room of its keyframes, which were made while it
    // stood and now lie above it on the heap, where they keep it from going back by itself.
    ProcessMemory::returnFreedMemory();
    return loaded;
}

bool ScriptSource::changed(float seconds) {
    return watched && watch.changed(seconds);
}

} // namespace corvane
