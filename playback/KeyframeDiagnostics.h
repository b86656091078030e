#pragma once

#include <optional>
#include <set>
#include <string>

#include "platform/DiagnosticSink.h"

namespace corvane {

// What the keyframe loader finds wrong with one script, as lines of a diagnostic sink:
//   KeyframeLoader::load(): FILE row ROW: keyframe at TIME MESSAGE
// (without the parts that are not known). Every one is an error to a check of the script.
class KeyframeDiagnostics {
public:
    KeyframeDiagnostics(DiagnosticSink& sink, std::string fileName);

    // A problem at `row` (0: the file as a whole), in the keyframe at `time` when there is
    // one. `hint` is what only a check adds; `checkOnly` marks what play reads without a
    // word.
    void report(int row, std::optional<float> time, std::string message, std::string hint = "",
                bool checkOnly = false);
    // A problem of the file as a whole, which a check shows at `row` (0: none).
    void reportFile(std::string message, int row = 0);
    // A name the script's format does not know (`kind` "element" or "attribute" of `owner`)
    // at `row`: a check hears of every one; play, of the first of each name in a load.
    void unknownName(int row, std::optional<float> time, const char* kind, const std::string& owner,
                     const std::string& name, const std::set<std::string>& known);

    // A keyframe time as every message writes it: six significant digits, no trailing zeros.
    static std::string formatTime(float seconds);

private:
    Diagnostic about(int row, std::string message, Diagnostic::Layout layout) const;

    DiagnosticSink& sink;
    std::string fileName;
    // The unknown names this load has shown at play.
    std::set<std::string> shownNames;
};

} // namespace corvane
