#pragma once

#include <cstdint>
#include <string>

#include "platform/FileWatch.h"
#include "playback/Keyframe.h"

class TiXmlElement;

namespace corvane {

// Where the keyframe script comes from, and whether it is watched for changes:
//   <script src="PATH" watch="true"/>
// "src" is taken relative to the current folder (default "keyframes.xml"); with
// watch="true" a change of the file on disk is reported so that it can be loaded again.
class ScriptSource {
public:
    // Reads the "script" element; null keeps the default. A "src" that is empty, or a
    // "watch" that is neither "true" nor "false", gets one line and keeps its default.
    void configure(const TiXmlElement* script);
    // Begins watching, when asked for, from the file's present state.
    void start();
    // Adds the script's keyframes to `keyframes`; false, adding nothing, when the file is
    // missing (silently) or cannot be read or parsed (one line from the loader).
    bool load(KeyframeMap& keyframes);
    // Whether the file on disk is no longer the one loaded last (or written by
    // wroteFile()): another program has changed it since.
    bool changedSinceLoad() const;
    // The file on disk is now the one this playback wrote itself.
    void wroteFile();
    // Advances by `seconds`; true once for each settled change of a watched file.
    bool changed(float seconds);

    const std::string& path() const { return file; }
    bool isWatched() const { return watched; }

    static const char* const DEFAULT_FILE;

private:
    std::string file = DEFAULT_FILE;
    bool watched = false;
    FileWatch watch;
    // The file as loaded: its modification time (nanoseconds) and size; -1 when none.
    std::int64_t loadedModified = -1;
    std::int64_t loadedSize = -1;
};

} // namespace corvane
