// `corvane play` as a user runs it: the built host in a process of its own, on a scene the
// test writes into a folder of its own, with the runtime and the plug-ins of the build.
#include <OgreDataStream.h>
#include <OgreImage.h>
#include <OgreLogManager.h>
#include <OgreRoot.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>

#include "host/ExitCode.h"
#include "tests/support/ShellCommand.h"
#include "tests/support/TemporaryFolder.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using testing::ShellCommand;
using testing::TemporaryFolder;

// A crate and a lamp, both behind the origin, where the camera of a configuration without a
// start camera sees nothing; written in today's exporters' spellings.
const char* const SCENE = R"(<scene formatVersion="1.0.0">
  <environment><colourAmbient r="0.5" g="0.5" b="0.5"/></environment>
  <nodes>
    <node name="crate"><position x="0" y="0" z="40"/>
      <entity name="crate" meshFile="box.mesh"/></node>
    <node name="lamp"><position x="0" y="30" z="70"/>
      <light name="lamp" type="point"><colourDiffuse r="1" g="1" b="1"/></light></node>
  </nodes>
</scene>
)";

// The project's folder, named as people name folders, holds the scene with a name some
// exporters give it; its media lie in a folder below it.
class PlayCommandTest : public ::testing::Test {
protected:
    PlayCommandTest() : project(folder.path() + "/my scène & co") {
        folder.write("my scène & co/level.xml", SCENE);
        fs::create_directories(project + "/art/meshes");
        for (const char* file : {"meshes/box.mesh", "media.material"})
            fs::copy_file(std::string(CORVANE_MEDIA_FOLDER) + "/" +
                              fs::path(file).filename().string(),
                          project + "/art/" + file);
    }

    // Runs `corvane play ARGUMENTS` from the project's folder with the test's cache folder,
    // `environment` being options of env(1); `output` gets what it writes to standard error.
    int play(const std::string& arguments, const std::string& environment = "") {
        const ShellCommand::Outcome outcome =
            ShellCommand::run("cd '" + project + "' && env " + environment +
                              " " CORVANE_HOST_ENVIRONMENT " XDG_CACHE_HOME='" + cache() +
                              "' '" CORVANE_HOST "' play " + arguments + " 2>&1 >/dev/null");
        output = outcome.output;
        return outcome.status;
    }

    std::string cache() const { return folder.path() + "/cache"; }

    // Every file below `root`.
    static std::set<std::string> files(const std::string& root) {
        std::set<std::string> found;
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root))
            found.insert(entry.path().string());
        return found;
    }

    TemporaryFolder folder;
    std::string project;
    std::string output;
};

// The share of clearly lit pixels in the middle of a captured frame.
double litShareInTheMiddle(const std::string& png) {
    Ogre::LogManager logs;
    logs.createLog("play-test.log", true, false, true);
    Ogre::Root root("", "", "");
    root.loadPlugin(std::string(CORVANE_OGRE_PLUGIN_DIR) + "/Codec_STBI");
    auto* file = new std::ifstream(png, std::ios::binary);
    Ogre::DataStreamPtr stream(new Ogre::FileStreamDataStream(png, file, true));
    Ogre::Image image;
    image.load(stream, "png");
    const std::size_t width = image.getWidth();
    const std::size_t height = image.getHeight();
    std::size_t lit = 0;
    std::size_t all = 0;
    for (std::size_t y = height * 3 / 10; y < height * 7 / 10; ++y)
        for (std::size_t x = width * 3 / 10; x < width * 7 / 10; ++x, ++all) {
            const Ogre::ColourValue colour = image.getColourAt(x, y, 0);
            if (colour.r + colour.g + colour.b > 0.15f)
                ++lit;
        }
    return all > 0 ? static_cast<double>(lit) / static_cast<double>(all) : 0.0;
}

TEST_F(PlayCommandTest, PlaysTheSceneWithoutADisplayAndShowsWhatLiesBehindTheOrigin) {
    if (ShellCommand::run("command -v Xvfb").status != 0)
        GTEST_SKIP() << "needs Xvfb (Debian package xvfb)";
    const std::set<std::string> before = files(folder.path());
    const std::string frames = folder.path() + "/frames";
    ASSERT_EQ(
        play("level.xml --capture '" + frames + "' --frames 4 --fixed-step 0.04", "-u DISPLAY"),
        EXIT_CODE_OK)
        << output;
    EXPECT_NE(output.find("corvane play: there is no display: playing under a virtual X server "
                          "(Xvfb, display :"),
              std::string::npos)
        << output;

    // The frames, and the laid-out folder in the cache, are all that is new.
    std::set<std::string> written = files(folder.path());
    std::set<std::string> captured;
    for (auto file = written.begin(); file != written.end();)
        if (file->rfind(frames + "/", 0) == 0 || *file == frames) {
            captured.insert(*file);
            file = written.erase(file);
        } else if (file->rfind(cache() + "/", 0) == 0 || *file == cache()) {
            file = written.erase(file);
        } else {
            ++file;
        }
    EXPECT_EQ(written, before);
    EXPECT_TRUE(fs::is_regular_file(cache() + "/corvane/play/plugins/OgreCore/OgreCore.zip"));
    ASSERT_FALSE(captured.size() < 2) << output;
    EXPECT_GT(litShareInTheMiddle(*captured.rbegin()), 0.05) << *captured.rbegin();
}

// Each problem is one line naming the file, before anything runs or is laid out.
TEST_F(PlayCommandTest, FilesThatCannotBeUsedAreOneLineEachAndNothingIsLaidOut) {
    folder.write("my scène & co/broken.scene", "<scene>\n  <nodes>\n</scene>\n");
    const struct {
        const char* arguments;
        const char* line; // after "corvane play: " and the project's folder
    } rows[] = {
        {"missing.scene", "/missing.scene: there is no such file"},
        {"broken.scene", "/broken.scene:3:1: Error reading end tag."},
        {"level.xml --media art --media nowhere", "/nowhere: there is no such folder"},
        {"level.xml gone.xml", "/gone.xml: there is no such file"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(play(row.arguments), EXIT_CODE_CONFIGURATION) << row.arguments;
        EXPECT_EQ(output, "corvane play: " + project + row.line + "\n") << row.arguments;
    }
    EXPECT_FALSE(fs::exists(cache()));
}

} // namespace
} // namespace corvane
