#include "playback/CameraKeyRecorder.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "framework/XmlReader.h"
#include "playback/KeyframePlayer.h"

namespace corvane {

namespace fs = std::filesystem;

namespace {

// The shortest text that reads back as the same float.
std::string exact(float value) {
    if (value == 0.0f)
        value = 0.0f; // no "-0"
    char text[32];
    const std::to_chars_result result = std::to_chars(text, text + sizeof(text), value);
    return std::string(text, result.ptr);
}

std::string attribute(const char* name, float value) {
    return std::string(name) + "=\"" + exact(value) + "\"";
}

// Writes `text` into a new file beside `target` and renames it over `target`, so that
// readers see either the old file or the whole new one; the new file takes `mode`. False
// with why in `problem`.
bool replaceFile(const fs::path& target, const std::string& text, fs::perms mode,
                 std::string& problem) {
    const fs::path temporary =
        target.parent_path() / ("." + target.filename().string() + ".corvane-new");
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.flush();
        if (!out) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            problem = "no new file " + temporary.filename().string() + " can be made beside it";
            return false;
        }
    }
    std::error_code error;
    fs::permissions(temporary, mode, error);
    fs::rename(temporary, target, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        problem = error.message();
        return false;
    }
    return true;
}

} // namespace

ScriptInsertion::Lines CameraKeyRecorder::keyframeLines(float time, const FloatVector3& position,
                                                        const FloatQuaternion& orientation) {
    const float milliseconds = std::round(time * 1000.0f) / 1000.0f;
    ScriptInsertion::Lines lines;
    lines.open = std::string("<keyframe entity=\"") + KeyframePlayer::CAMERA_ENTITY + "\" " +
                 attribute("time", milliseconds) + ">";
    lines.children = {"<position " + attribute("x", position.x) + " " + attribute("y", position.y) +
                          " " + attribute("z", position.z) + "/>",
                      "<orientation " + attribute("w", orientation.w) + " " +
                          attribute("x", orientation.x) + " " + attribute("y", orientation.y) +
                          " " + attribute("z", orientation.z) + "/>"};
    lines.close = "</keyframe>";
    return lines;
}

std::string CameraKeyRecorder::oneLine(const ScriptInsertion::Lines& lines) {
    std::string text = lines.open;
    for (const std::string& child : lines.children)
        text += child;
    return text + lines.close;
}

bool CameraKeyRecorder::record(ScriptSource& script, float time,
                               const ScriptInsertion::Lines& keyframe, std::string& written,
                               std::string& problem) {
    const fs::path path = script.path();
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (!fs::exists(status)) {
        problem = "is gone";
        return false;
    }
    if (!fs::is_regular_file(status)) {
        problem = "is not a regular file";
        return false;
    }
    const fs::perms writeBits =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    // Opening for appending, without writing, tells whether this process may write it.
    if ((status.permissions() & writeBits) == fs::perms::none ||
        !std::ofstream(path, std::ios::binary | std::ios::app)) {
        problem = "is read-only";
        return false;
    }
    if (script.changedSinceLoad()) {
        problem = "has changed on disk since it was loaded";
        return false;
    }
    std::string text;
    if (!XmlReader::readFile(path.string(), text)) {
        problem = "cannot be read";
        return false;
    }
    std::string result;
    int row = 0;
    if (!ScriptInsertion::insert(text, time, keyframe, result, row, problem))
        return false;

    // A link is followed: the file it names is the one replaced.
    const fs::path target = fs::canonical(path, error);
    if (error) {
        problem = "cannot be resolved: " + error.message();
        return false;
    }
    const std::string key = target.string();
    if (backedUp.count(key) == 0) {
        fs::path backup = target;
        backup += ".bak";
        std::string why;
        if (!replaceFile(backup, text, status.permissions(), why)) {
            problem = "cannot be copied to " + backup.filename().string() + ": " + why;
            return false;
        }
        backedUp.insert(key);
    }
    std::string why;
    if (!replaceFile(target, result, status.permissions(), why)) {
        problem = "cannot be written: " + why;
        return false;
    }
    script.wroteFile();
    written = path.filename().string() + ":" + std::to_string(row);
    return true;
}

} // namespace corvane
