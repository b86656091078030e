#include <gtest/gtest.h>

#include "host/PluginLocator.h"
#include "tests/support/TemporaryFolder.h"

namespace corvane {
namespace {

TEST(PluginLocator, FindsBareNamesInTheGivenFoldersThenBesideTheHost) {
    testing::TemporaryFolder folder;
    folder.write("lib/corvane/SceneViewer.so", "");
    folder.write("bin/PlaybackDirector.so", "");
    folder.write("extra/PlaybackDirector.so", "");
    const PluginLocator locator({folder.path() + "/extra"}, folder.path() + "/bin");

    EXPECT_EQ(locator.locate("SceneViewer", "/config"),
              folder.path() + "/lib/corvane/SceneViewer.so");
    EXPECT_EQ(locator.locate("PlaybackDirector", "/config"),
              folder.path() + "/extra/PlaybackDirector.so");
    // Nowhere: the first folder, so that opening it fails with a real path in the message.
    EXPECT_EQ(locator.locate("Missing", "/config"), folder.path() + "/extra/Missing.so");
    // Programs live where the plug-ins do, under their own names; nowhere is nothing.
    folder.write("lib/corvane/corvane-tool", "");
    EXPECT_EQ(locator.locateProgram("corvane-tool"), folder.path() + "/lib/corvane/corvane-tool");
    EXPECT_EQ(locator.locateProgram("corvane-missing"), "");
}

TEST(PluginLocator, PathsAreRelativeToTheConfiguration) {
    const PluginLocator locator({}, "/opt/corvane/bin");
    EXPECT_EQ(locator.locate("./plugins/X.so", "/home/user/app"), "/home/user/app/./plugins/X.so");
    EXPECT_EQ(locator.locate("/abs/X.so", "/home/user/app"), "/abs/X.so");
}

} // namespace
} // namespace corvane
