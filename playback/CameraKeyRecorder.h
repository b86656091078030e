#pragma once

#include <set>
#include <string>

#include "framework/FloatQuaternion.h"
#include "framework/FloatVector3.h"
#include "playback/ScriptInsertion.h"
#include "playback/ScriptSource.h"

namespace corvane {

// Writes a "CAMERA" keyframe into the script file that plays: in its place of the time
// order, with the file's own indentation, every other byte unchanged. The file is replaced
// at once by a complete new one (written beside it, then renamed over it), and the first
// recording into a file in a run keeps the file as it was beside it, as NAME.bak.
class CameraKeyRecorder {
public:
    // The keyframe's lines, numbers in their shortest exact form, the time in milliseconds.
    static ScriptInsertion::Lines keyframeLines(float time, const FloatVector3& position,
                                                const FloatQuaternion& orientation);
    // The keyframe on one line, as the status line and a diagnostic show it.
    static std::string oneLine(const ScriptInsertion::Lines& lines);

    // Writes the keyframe into `script`'s file; true with "FILE:LINE" of its first line in
    // `written`, false with why it was not written in `problem` (the file untouched).
    bool record(ScriptSource& script, float time, const ScriptInsertion::Lines& keyframe,
                std::string& written, std::string& problem);

private:
    // The files whose .bak this run has written.
    std::set<std::string> backedUp;
};

} // namespace corvane
