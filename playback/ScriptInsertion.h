#pragma once

#include <string>
#include <vector>

namespace corvane {

// Puts a new keyframe into the text of a keyframe script: after the last keyframe (in file
// order) whose time is not later than the new one's, else before the first keyframe, else
// at the end of the root element; indented and ended as the file's own lines are, every
// other byte of the text unchanged. The text is read by the parser the loader uses; times
// as the parser's own query reads them.
class ScriptInsertion {
public:
    // The keyframe's lines without indentation: the opening tag, its children, the closing
    // tag (or only a self-closed element).
    struct Lines {
        std::string open;
        std::vector<std::string> children;
        std::string close;
    };

    // The script `text` with the keyframe at `time` added, and the row of its first line;
    // false, with what keeps it from being added in `problem`, when the text cannot be read
    // or has no place for keyframes.
    static bool insert(const std::string& text, float time, const Lines& keyframe,
                       std::string& result, int& row, std::string& problem);
};

} // namespace corvane
