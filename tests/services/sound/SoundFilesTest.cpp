#include <gtest/gtest.h>
#include <string>

#include "services/sound/SoundFiles.h"
#include "tests/support/TemporaryFolder.h"

namespace corvane {
namespace {

using testing::TemporaryFolder;

// A script's sound name is a file's name inside the folders: the first folder first, each
// before the folders inside it, the endings in their order; never a path beside or above.
TEST(SoundFiles, FindsANameInsideTheFoldersOnly) {
    TemporaryFolder folder;
    folder.write("outside.wav", "");
    folder.write("scene/door.ogg", "");
    folder.write("scene/door.wav", "");
    folder.write("scene/sounds/bell.flac", "");
    folder.write("scene/.hidden/ghost.wav", "");
    folder.write("media/door.wav", "");
    folder.write("media/wind.wav", "");
    SoundFiles files;
    files.addFolder(folder.path() + "/scene");
    files.addFolder(folder.path() + "/media");
    const std::string at = folder.path() + "/";
    const struct {
        const char* name;
        std::string file;
    } rows[] = {
        {"door", at + "scene/door.wav"},
        {"bell", at + "scene/sounds/bell.flac"},
        {"wind", at + "media/wind.wav"},
        {"ghost", ""},
        {"../outside", ""},
        {"sounds/bell", ""},
        {"..", ""},
        {"", ""},
        {"door.wav", ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(files.find(row.name), row.file) << row.name;
    EXPECT_EQ(files.names(), (std::set<std::string>{"bell", "door", "wind"}));
}

} // namespace
} // namespace corvane
