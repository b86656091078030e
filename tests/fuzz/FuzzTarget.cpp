#include "tests/fuzz/FuzzTarget.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdlib.h>
#include <tinyxml.h>

namespace corvane::fuzz {

void fail(const char* what) {
    std::fprintf(stderr, "fuzz target: %s\n", what);
    std::abort();
}

std::size_t treeDepth(const TiXmlNode& node) {
    std::size_t deepest = 0;
    for (const TiXmlNode* child = node.FirstChild(); child != nullptr; child = child->NextSibling())
        if (child->ToElement() != nullptr)
            deepest = std::max(deepest, 1 + treeDepth(*child));
    return deepest;
}

std::string text(const std::uint8_t* data, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

namespace {

// Removed with what is in it when the run ends normally; a crash leaves it for a look.
struct ScratchFolder {
    ScratchFolder() {
        path = (std::filesystem::temp_directory_path() / "corvane-fuzz-XXXXXX").string();
        if (mkdtemp(path.data()) == nullptr)
            fail("cannot make a scratch folder");
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string path;
};

} // namespace

const std::string& scratchFolder() {
    static const ScratchFolder folder;
    return folder.path;
}

std::string writeScratch(const std::string& name, const std::string& text) {
    const std::string path = scratchFolder() + "/" + name;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    if (!file)
        fail("cannot write into the scratch folder");
    return path;
}

} // namespace corvane::fuzz
