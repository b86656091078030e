#include "viewer/scene/SceneReport.h"

#include <utility>

namespace corvane {

SceneReport::SceneReport(DiagnosticSink& sink, std::string file)
    : sink(&sink), fileName(std::move(file)) {}

void SceneReport::error(const std::string& origin, int row, std::string message) const {
    report(Diagnostic::Severity::ERROR, origin, row, std::move(message));
}

void SceneReport::warning(const std::string& origin, int row, std::string message) const {
    report(Diagnostic::Severity::WARNING, origin, row, std::move(message));
}

void SceneReport::report(Diagnostic::Severity severity, const std::string& origin, int row,
                         std::string message) const {
    Diagnostic diagnostic;
    diagnostic.file = fileName;
    diagnostic.line = row;
    diagnostic.origin = origin;
    diagnostic.severity = severity;
    diagnostic.message = std::move(message);
    sink->report(diagnostic);
}

} // namespace corvane
