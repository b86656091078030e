#pragma once

#include <string>

namespace corvane {

// Why a path cannot be used, in the system's own words, so that a diagnostic gives the real
// reason: a file that is there but may not be read is not "missing".
class FileAccess {
public:
    // Empty when `path` is a file this process can open for reading; else the system's
    // reason: "No such file or directory", "Permission denied", "File name too long",
    // "Is a directory", ... ("not a regular file" for a pipe or a device).
    static std::string whyNotReadable(const std::string& path);
    // whyNotReadable() and the file's whole text into `text` through one opening, for a
    // caller that reads the file it checks: empty when it was read; "cannot be read" when
    // the file opened but its reading failed.
    static std::string read(const std::string& path, std::string& text);
    // Empty when `path` is a folder whose entries this process can list; else the reason:
    // "No such file or directory", "Not a directory", "Permission denied", ...
    static std::string whyNotListable(const std::string& path);
    // Empty when `path` is a folder in which this process may make files; else the reason:
    // "No such file or directory", "Not a directory", "Permission denied", ...
    static std::string whyNotWritable(const std::string& path);
};

} // namespace corvane
