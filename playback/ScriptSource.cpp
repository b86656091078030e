#include "playback/ScriptSource.h"

#include <tinyxml.h>

#include "platform/DebugOutput.h"
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
    return KeyframeLoader::load(file, keyframes);
}

bool ScriptSource::changed(float seconds) {
    return watched && watch.changed(seconds);
}

} // namespace corvane
