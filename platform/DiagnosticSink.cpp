#include "platform/DiagnosticSink.h"

#include "platform/DebugOutput.h"

namespace corvane {

std::string Diagnostic::text() const {
    std::string text = origin.empty() ? std::string() : origin + ": ";
    switch (layout) {
    case Layout::MESSAGE:
        break;
    case Layout::FILE:
        text += file + " ";
        break;
    case Layout::FILE_LINE:
        text += file + (line > 0 ? ":" + std::to_string(line) : "") + ": ";
        break;
    case Layout::SCRIPT_ROW:
        text += file + (line > 0 ? " row " + std::to_string(line) + ": " : " ");
        if (time)
            text += "keyframe at " + DebugOutput::number(*time) + " ";
        break;
    }
    return text + message;
}

DiagnosticSink::~DiagnosticSink() = default;

void DiagnosticSink::reportTo(DiagnosticSink* sink, const Diagnostic& diagnostic) {
    if (sink != nullptr) {
        sink->report(diagnostic);
        return;
    }
    StandardErrorSink standardError;
    standardError.report(diagnostic);
}

void StandardErrorSink::report(const Diagnostic& diagnostic) {
    if (diagnostic.checkOnly)
        return;
    std::string text = diagnostic.text();
    if (depth > 0) {
        const auto [entry, first] = counts.try_emplace(std::move(text), 0);
        if (++entry->second > 1)
            return;
        order.push_back(&entry->first);
        DebugOutput::line(entry->first);
        return;
    }
    DebugOutput::line(text);
}

void StandardErrorSink::list(std::string_view line) {
    DebugOutput::line(line);
}

void StandardErrorSink::beginLoad() {
    ++depth;
}

void StandardErrorSink::endLoad() {
    if (depth == 0 || --depth > 0)
        return;
    for (const std::string* text : order)
        if (const std::size_t count = counts[*text]; count > 1)
            DebugOutput::line(*text + " (" + std::to_string(count) + " times)");
    order.clear();
    counts.clear();
}

} // namespace corvane
