#include "tools/lint/FindingSink.h"

#include "playback/KeyframeDiagnostics.h"

namespace corvane::lint {

void FindingSink::report(const Diagnostic& diagnostic) {
    LintFinding finding{diagnostic.file, diagnostic.line,
                        diagnostic.severity == Diagnostic::Severity::ERROR
                            ? LintFinding::Severity::ERROR
                            : LintFinding::Severity::WARNING,
                        diagnostic.time ? KeyframeDiagnostics::formatTime(*diagnostic.time) : "",
                        diagnostic.message + diagnostic.hint};
    Key key{finding.file, finding.line, finding.severity, finding.time, finding.message};
    const auto [entry, first] = counts.try_emplace(std::move(key), findings.size());
    if (first) {
        findings.push_back(std::move(finding));
        repeats.push_back(1);
    } else {
        ++repeats[entry->second];
    }
}

std::vector<LintFinding> FindingSink::take(const std::string& file, const std::string& shown) {
    for (std::size_t index = 0; index < findings.size(); ++index) {
        LintFinding& finding = findings[index];
        if (finding.file.empty() || finding.file == file)
            finding.file = shown;
        if (repeats[index] > 1)
            finding.message += " (" + std::to_string(repeats[index]) + " times)";
    }
    counts.clear();
    repeats.clear();
    return std::move(findings);
}

} // namespace corvane::lint
