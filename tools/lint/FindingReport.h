#pragma once

#include <ostream>
#include <vector>

#include "tools/lint/LintFinding.h"

namespace corvane::lint {

// Findings as people and editors read them.
class FindingReport {
public:
    // One line a finding, "FILE:LINE: error|warning: keyframe at TIME: MESSAGE" (without
    // the line or the time where a finding has none), then the summary.
    static void writeText(std::ostream& out, const std::vector<LintFinding>& findings);
    // A JSON array of objects with "file", "line", "severity", "time" and "message"; an
    // absent line or time is null.
    static void writeJson(std::ostream& out, const std::vector<LintFinding>& findings);
    // "N errors, M warnings".
    static std::string summary(const std::vector<LintFinding>& findings);
};

} // namespace corvane::lint
