#pragma once

#include <vector>

#include "playback/KeyframeDiagnostics.h"
#include "tools/lint/LintFinding.h"

namespace corvane::lint {

// The keyframe loader's problems as findings, every one an error: also those that play
// reads without a word.
class KeyframeFindings : public KeyframeDiagnostics {
public:
    void report(const std::string& fileName, const Problem& problem) override;

    std::vector<LintFinding> findings;
};

} // namespace corvane::lint
