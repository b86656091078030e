// `corvane play` as a user runs it: the built host in a process of its own, on a scene the
// test writes into a folder of its own, with the runtime and the plug-ins of the build.
#include <OgreDataStream.h>
#include <OgreImage.h>
#include <OgreLogManager.h>
#include <OgreRoot.h>
#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <set>
#include <unistd.h>

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
    const std::string tooLong(300, 'x');
    const struct {
        std::string arguments;
        std::string line; // after "corvane play: " and the project's folder
    } rows[] = {
        {"missing.scene", "/missing.scene: No such file or directory"},
        {"broken.scene", "/broken.scene:3:1: Error reading end tag.; \"nodes\" opened at row 2, "
                         "column 3 is not closed"},
        {"art", "/art: Is a directory"},
        {tooLong + ".scene", "/" + tooLong + ".scene: File name too long"},
        {"level.xml --media art --media nowhere", "/nowhere: No such file or directory"},
        {"level.xml --media level.xml", "/level.xml: Not a directory"},
        {"level.xml gone.xml", "/gone.xml: No such file or directory"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(play(row.arguments), EXIT_CODE_CONFIGURATION) << row.arguments;
        EXPECT_EQ(output, "corvane play: " + project + row.line + "\n") << row.arguments;
    }
    EXPECT_FALSE(fs::exists(cache()));
}

// A run that is stopped, or whose output or display fails, as a user or a farm manager
// meets it: the started process's exit status, the line that says why, every frame under
// its name whole, and no process of the run left.
struct StoppedRun {
    const char* name;
    bool fullDisk;      // the capture goes onto a small file system that fills up
    const char* setUp;  // shell lines before the run; FRAMES is the capture folder
    const char* play;   // options after the scene, and where standard error goes
    const char* action; // shell lines once the first frame is written ($run is the started
                        // process, $server its X server); empty: none, the run ends itself
    int status;
    const char* line; // a regular expression for whole lines of its output
};

void PrintTo(const StoppedRun& row, std::ostream* out) {
    *out << row.name;
}

class PlayStopTest : public PlayCommandTest, public ::testing::WithParamInterface<StoppedRun> {};

// A PNG file that was written to its end.
bool isWholePng(const std::string& path) {
    const std::string bytes = TemporaryFolder::read(path);
    static const std::string end("IEND\xAE\x42\x60\x82", 8);
    return bytes.size() > 8 + end.size() && bytes.compare(0, 4, "\x89PNG") == 0 &&
           bytes.compare(bytes.size() - end.size(), end.size(), end) == 0;
}

TEST_P(PlayStopTest, EndsInOrderWithItsStatusAndLine) {
    const StoppedRun& row = GetParam();
    if (ShellCommand::run("command -v Xvfb").status != 0)
        GTEST_SKIP() << "needs Xvfb (Debian package xvfb)";
    if (row.fullDisk && geteuid() != 0)
        GTEST_SKIP() << "mounts a file system: needs root";
    const std::string out = folder.path() + "/out";
    fs::create_directories(out);
    struct Unmount {
        std::string folder;
        ~Unmount() {
            if (!folder.empty())
                ShellCommand::run("umount -l '" + folder + "'");
        }
    } unmount{row.fullDisk ? out : ""};
    if (row.fullDisk &&
        ShellCommand::run("mount -t tmpfs -o size=96k corvane '" + out + "' 2>&1").status != 0) {
        unmount.folder.clear();
        GTEST_SKIP() << "cannot mount a file system here";
    }

    // The run in a session of its own, as a terminal's job is, without a display; a
    // watchdog ends its group should the row not stop it, so that nothing outlives a
    // failing test.
    const std::string script = folder.write("run.sh", std::string(R"(
cd "$PROJECT"
FRAMES="$ROOT/out/frames"
)") + row.setUp + R"(
setsid env -u DISPLAY $HOST_ENVIRONMENT XDG_CACHE_HOME="$ROOT/cache" "$HOST" play level.xml \
    --fixed-step 0.04 --capture "$FRAMES" )" + row.play + R"( &
run=$!
{ sleep 30 && kill -KILL -- -$run; } >/dev/null 2>&1 &
watchdog=$!
)" + (*row.action == '\0' ? "" : R"(
for i in $(seq 400); do [ -e "$FRAMES/frame_000001.png" ] && break; sleep 0.025; done
server=$(pgrep -P $run Xvfb)
)") + row.action + R"(
wait $run
echo "status $?"
pkill -P $watchdog; kill $watchdog 2>/dev/null
[ -z "$server" ] || ! kill -0 $server 2>/dev/null || echo "the X server $server outlived the run"
)");
    const ShellCommand::Outcome outcome = ShellCommand::run(
        "ROOT='" + folder.path() + "' PROJECT='" + project +
        "' HOST='" CORVANE_HOST "' HOST_ENVIRONMENT='" CORVANE_HOST_ENVIRONMENT "' bash '" +
        script + "' 2>&1");
    output = outcome.output + TemporaryFolder::read(folder.path() + "/log");

    EXPECT_NE(output.find("status " + std::to_string(row.status) + "\n"), std::string::npos)
        << output;
    EXPECT_THAT(output, ::testing::ContainsRegex(std::string("(^|\n)") + row.line + "\n"));
    EXPECT_EQ(output.find("outlived"), std::string::npos) << output;
    if (!fs::is_directory(out + "/frames"))
        return;
    for (const fs::directory_entry& entry : fs::directory_iterator(out + "/frames")) {
        // Files of the run's own (its lock, a frame under way) are hidden.
        if (entry.path().filename().string().front() != '.') {
            EXPECT_TRUE(isWholePng(entry.path())) << entry.path() << " is not a whole frame";
        }
    }
}

#define LOG " 2>\"$ROOT/log\""

const StoppedRun STOPPED_RUNS[] = {
    {"FullFileSystem", true, "", "--frames 60" LOG, "", 6,
     "FrameCapture: cannot write .*/out/frames/frame_0000[0-9][0-9].png: No space left on "
     "device; the capture stops\nFrameCapture: [0-9]+ frames? written to .*/out/frames"},
    {"CaptureFolderIsAFile", false, "touch \"$FRAMES\"", "--frames 5" LOG, "", 6,
     "FrameCapture::start\\(\\): cannot write into .*/out/frames: Not a directory"},
    {"CtrlCToTheProcessGroup", false, "", LOG, "kill -INT -- -$run", 130,
     "corvane: stopping on signal 2\nFrameCapture: [0-9]+ frames? written to .*/out/frames"},
    {"HangUp", false, "", LOG, "kill -HUP $run", 129, "corvane: stopping on signal 1"},
    {"KilledXServer", false, "", LOG, "kill -KILL $server", 7,
     "corvane: the display :[0-9]+ went away; stopping\nFrameCapture: [0-9]+ frames? written"
     " to .*/out/frames"},
    {"KillOfTheStartedProcess", false, "", LOG, "kill $run", 143, "corvane: stopping on signal 15"},
    {"TwoRunsWithOneCaptureFolder", false, "", LOG,
     R"(env -u DISPLAY $HOST_ENVIRONMENT XDG_CACHE_HOME="$ROOT/cache" "$HOST" play level.xml \
    --capture "$FRAMES" --frames 5 2>&1 | grep FrameCapture; echo "second run: ${PIPESTATUS[0]}"
grep -c "Creating resource group General" "$ROOT"/cache/corvane/play*/plugins/SceneViewer_Release/Ogre.log
kill $run)",
     143,
     "FrameCapture::start\\(\\): .*/out/frames is being written by another run \\(process "
     "[0-9]+\\)\nsecond run: 2\n.*/play-2/.*Ogre.log:1\n.*/play/.*Ogre.log:1"},
    {"ReaderOfStandardErrorGone", false, "", "--frames 10 2> >(exec true)", "", 0, "status 0"},
};

#undef LOG

INSTANTIATE_TEST_SUITE_P(Play, PlayStopTest, ::testing::ValuesIn(STOPPED_RUNS),
                         [](const ::testing::TestParamInfo<StoppedRun>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace corvane
