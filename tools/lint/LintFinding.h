#pragma once

#include <string>

namespace corvane::lint {

// One thing a check found in a file: "FILE:LINE: error|warning: keyframe at TIME: MESSAGE".
struct LintFinding {
    enum class Severity { ERROR, WARNING };

    std::string file;
    int line = 0; // 0 when the finding is about the file as a whole
    Severity severity = Severity::ERROR;
    std::string time; // the keyframe's time as written in messages; empty outside a keyframe
    std::string message;
};

} // namespace corvane::lint
