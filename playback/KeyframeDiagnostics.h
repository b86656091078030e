#pragma once

#include <string>

namespace corvane {

// Where the keyframe loader sends what it finds wrong with a script. This one writes each
// problem that play reports as one diagnostic line; a script check takes them all as
// findings instead.
class KeyframeDiagnostics {
public:
    struct Problem {
        // The element's row in the file; 0 for the file as a whole.
        int row = 0;
        // The keyframe's time as messages write it (formatTime); empty outside a keyframe
        // or when the time itself is the problem.
        std::string time;
        // What is wrong: it follows "keyframe at TIME " in a keyframe, the file's name for
        // the file as a whole, and the row otherwise.
        std::string message;
        // The text as the file has it when a name is not known (an action's type), so
        // that a check can offer the known name nearest to it.
        std::string unknownName;
        // False for what play reads without a word (a number with trailing text, which
        // reads as its leading number): only a check of the script reports it.
        bool shownAtPlay = true;
    };

    virtual ~KeyframeDiagnostics();

    // Writes "KeyframeLoader::load(): FILE row ROW: keyframe at TIME MESSAGE" (without the
    // parts that are empty) when the problem is shown at play; nothing otherwise.
    virtual void report(const std::string& fileName, const Problem& problem);

    // A keyframe time as every message writes it: six significant digits, no trailing zeros.
    static std::string formatTime(float seconds);
};

} // namespace corvane
