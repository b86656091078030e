#include "tools/lint/KeyframeFindings.h"

#include <set>

#include "playback/KeyframeActionType.h"
#include "tools/lint/NameSuggestion.h"

namespace corvane::lint {

namespace {

std::set<std::string> actionKeywords() {
    std::set<std::string> keywords;
    for (std::int32_t code = 0; code < KEYFRAME_ACTION_TYPE_COUNT; ++code)
        keywords.emplace(keyframeActionKeyword(static_cast<KeyframeActionType>(code)));
    return keywords;
}

} // namespace

void KeyframeFindings::report(const std::string& fileName, const Problem& problem) {
    std::string message = problem.message;
    if (!problem.unknownName.empty())
        message += NameSuggestion::of(problem.unknownName, actionKeywords());
    findings.push_back(
        {fileName, problem.row, LintFinding::Severity::ERROR, problem.time, std::move(message)});
}

} // namespace corvane::lint
