#include "tools/lint/FindingReport.h"

#include <algorithm>
#include <nlohmann/json.hpp>

namespace corvane::lint {

namespace {

const char* severityText(LintFinding::Severity severity) {
    return severity == LintFinding::Severity::ERROR ? "error" : "warning";
}

std::string counted(std::size_t count, const char* noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

} // namespace

void FindingReport::writeText(std::ostream& out, const std::vector<LintFinding>& findings) {
    for (const LintFinding& finding : findings) {
        out << finding.file;
        if (finding.line > 0)
            out << ':' << finding.line;
        out << ": " << severityText(finding.severity) << ": ";
        if (!finding.time.empty())
            out << "keyframe at " << finding.time << ": ";
        out << finding.message << '\n';
    }
    out << summary(findings) << '\n';
}

void FindingReport::writeJson(std::ostream& out, const std::vector<LintFinding>& findings) {
    nlohmann::ordered_json array = nlohmann::ordered_json::array();
    for (const LintFinding& finding : findings)
        array.push_back({
            {"file", finding.file},
            {"line",
             finding.line > 0 ? nlohmann::ordered_json(finding.line) : nlohmann::ordered_json()},
            {"severity", severityText(finding.severity)},
            {"time", finding.time.empty() ? nlohmann::ordered_json()
                                          : nlohmann::ordered_json(finding.time)},
            {"message", finding.message},
        });
    // Names come from the files as they are: bytes that are no UTF-8 are replaced, not refused.
    out << array.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
}

std::string FindingReport::summary(const std::vector<LintFinding>& findings) {
    const auto errors = static_cast<std::size_t>(
        std::count_if(findings.begin(), findings.end(), [](const LintFinding& finding) {
            return finding.severity == LintFinding::Severity::ERROR;
        }));
    return counted(errors, "error") + ", " + counted(findings.size() - errors, "warning");
}

} // namespace corvane::lint
