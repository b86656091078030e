#pragma once

#include <set>
#include <string>
#include <vector>

namespace corvane {

// Sound files found by the sound's name in a project's folders, as a script names its
// sounds: NAME.wav, NAME.ogg or NAME.flac in a folder or any folder below it. The folders
// are searched in the order given, each before the folders inside it, in the order in
// which the viewer searches them for meshes and textures.
class SoundFiles {
public:
    // Searches `folder` and every folder below it (not hidden ones, not through links).
    void addFolder(const std::string& folder);
    bool empty() const { return folders.empty(); }
    // The first file of the sound's name; empty when there is none, or when the name is
    // no file's name (it holds a '/', or is empty, "." or "..").
    std::string find(const std::string& name) const;
    // The names that find() takes to a file: of every file in the folders with one of the
    // endings. For suggestions of a name near one that is not found.
    std::set<std::string> names() const;

    // The endings looked for, in this order.
    static const char* const ENDINGS[];

private:
    std::vector<std::string> folders;
};

} // namespace corvane
