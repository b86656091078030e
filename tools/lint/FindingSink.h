#pragma once

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "platform/DiagnosticSink.h"
#include "tools/lint/LintFinding.h"

namespace corvane::lint {

// The diagnostic sink of a check: every line the product's loaders write becomes a finding
// (also what play reads without a word), with what only a check adds to it, in the order
// they came. Identical findings are one finding with a count.
class FindingSink : public DiagnosticSink {
public:
    void report(const Diagnostic& diagnostic) override;
    // Lists of what a load found are no findings.
    void list(std::string_view) override {}

    // The findings so far, and none afterwards. A diagnostic about `file` (the name a
    // loader knows a file by) or about no file is shown as one about `shown`.
    std::vector<LintFinding> take(const std::string& file, const std::string& shown);

private:
    using Key = std::tuple<std::string, int, LintFinding::Severity, std::string, std::string>;

    std::vector<LintFinding> findings;
    // Each finding's place in `findings`, and how often it came.
    std::map<Key, std::size_t> counts;
    std::vector<std::size_t> repeats;
};

} // namespace corvane::lint
