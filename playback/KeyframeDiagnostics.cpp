#include "playback/KeyframeDiagnostics.h"

#include "platform/DebugOutput.h"

namespace corvane {

KeyframeDiagnostics::~KeyframeDiagnostics() = default;

void KeyframeDiagnostics::report(const std::string& fileName, const Problem& problem) {
    if (!problem.shownAtPlay)
        return;
    std::string line = "KeyframeLoader::load(): " + fileName;
    line += problem.row > 0 ? " row " + std::to_string(problem.row) + ": " : " ";
    if (!problem.time.empty())
        line += "keyframe at " + problem.time + " ";
    DebugOutput::line(line + problem.message);
}

std::string KeyframeDiagnostics::formatTime(float seconds) {
    return DebugOutput::number(seconds);
}

} // namespace corvane
