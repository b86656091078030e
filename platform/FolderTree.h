#pragma once

#include <string>
#include <vector>

namespace corvane {

// The folders of a project's tree, as a resource search walks them.
class FolderTree {
public:
    // Every folder below `folder` (not `folder` itself), each before the folders inside it
    // and siblings in byte-wise order. Hidden folders (a name beginning with '.', such as
    // a version control's) and what lies in them are left out, and links to folders are
    // not followed, so that a link cannot lead the walk round in a circle. Folders that
    // cannot be read are passed over. Empty when `folder` is no folder.
    static std::vector<std::string> below(const std::string& folder);
};

} // namespace corvane
