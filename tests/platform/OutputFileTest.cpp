// A run's output files: whole under their name or not there at all.
#include <filesystem>
#include <gtest/gtest.h>

#include "platform/OutputFile.h"
#include "tests/support/TemporaryFolder.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using testing::TemporaryFolder;

std::size_t entries(const std::string& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

TEST(OutputFile, AppearsWholeOrNotAtAllWithTheSystemsReason) {
    TemporaryFolder folder;
    folder.write("file", "old");
    const struct {
        std::string path;
        const char* reason;
    } rows[] = {
        {folder.path() + "/missing/frame.png", "No such file or directory"},
        {folder.path() + "/file/frame.png", "Not a directory"},
        {folder.path() + "/" + std::string(300, 'x') + ".png", "File name too long"},
    };
    for (const auto& row : rows) {
        std::string error;
        EXPECT_FALSE(OutputFile::writeWhole(row.path, "png", error)) << row.path;
        EXPECT_EQ(error, row.reason) << row.path;
    }

    std::string error;
    ASSERT_TRUE(OutputFile::writeWhole(folder.path() + "/file", "new", error)) << error;
    EXPECT_EQ(TemporaryFolder::read(folder.path() + "/file"), "new");
    {
        // Given up before commit(): the name keeps what it held, nothing else is left.
        OutputFile file(folder.path() + "/file");
        ASSERT_TRUE(file.write("half", error));
        EXPECT_EQ(entries(folder.path()), 2u);
    }
    EXPECT_EQ(TemporaryFolder::read(folder.path() + "/file"), "new");
    EXPECT_EQ(entries(folder.path()), 1u);
}

} // namespace
} // namespace corvane
