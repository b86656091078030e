#include "playback/KeyframeDiagnostics.h"

#include <utility>

#include "framework/NameSuggestion.h"
#include "platform/DebugOutput.h"

namespace corvane {

KeyframeDiagnostics::KeyframeDiagnostics(DiagnosticSink& sink, std::string fileName)
    : sink(sink), fileName(std::move(fileName)) {}

void KeyframeDiagnostics::report(int row, std::optional<float> time, std::string message,
                                 std::string hint, bool checkOnly) {
    Diagnostic diagnostic = about(row, std::move(message), Diagnostic::Layout::SCRIPT_ROW);
    diagnostic.time = time;
    diagnostic.hint = std::move(hint);
    diagnostic.checkOnly = checkOnly;
    sink.report(diagnostic);
}

void KeyframeDiagnostics::reportFile(std::string message, int row) {
    sink.report(about(row, std::move(message), Diagnostic::Layout::FILE));
}

Diagnostic KeyframeDiagnostics::about(int row, std::string message,
                                      Diagnostic::Layout layout) const {
    Diagnostic diagnostic;
    diagnostic.file = fileName;
    diagnostic.line = row;
    diagnostic.origin = "KeyframeLoader::load()";
    diagnostic.message = std::move(message);
    diagnostic.layout = layout;
    return diagnostic;
}

void KeyframeDiagnostics::unknownName(int row, std::optional<float> time, const char* kind,
                                      const std::string& owner, const std::string& name,
                                      const std::set<std::string>& known) {
    // A misspelt element is usually misspelt in every keyframe that has it: play says so
    // once, a check at each place.
    const bool shown = shownNames.insert(std::string(kind) + ' ' + owner + ' ' + name).second;
    report(row, time,
           std::string(time ? "has an unknown " : "unknown ") + kind + " \"" + name + "\" in \"" +
               owner + "\"" + NameSuggestion::of(name, known) + "; it is ignored",
           "", !shown);
}

std::string KeyframeDiagnostics::formatTime(float seconds) {
    return DebugOutput::number(seconds);
}

} // namespace corvane
