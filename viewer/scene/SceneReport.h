#pragma once

#include <string>
#include <string_view>

#include "platform/DiagnosticSink.h"

namespace corvane {

// Where the parts of one scene load write their lines: the load's diagnostic sink, each
// line about the scene file and the row of the element it concerns. Lines on standard
// error read "ORIGIN: MESSAGE", the message naming the object.
class SceneReport {
public:
    SceneReport(DiagnosticSink& sink, std::string file);

    // An error about the element at `row` of the scene file (0: the file as a whole).
    void error(const std::string& origin, int row, std::string message) const;
    // What the load did differently from what the file says, which may be what was meant.
    void warning(const std::string& origin, int row, std::string message) const;
    // A line that lists what the load found.
    void list(std::string_view line) const { sink->list(line); }

    const std::string& file() const { return fileName; }

private:
    void report(Diagnostic::Severity severity, const std::string& origin, int row,
                std::string message) const;

    DiagnosticSink* sink;
    std::string fileName;
};

} // namespace corvane
