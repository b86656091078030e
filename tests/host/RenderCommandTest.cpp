// `corvane render` as a user runs it: the built host in a process of its own, on the demo's
// scene, script and media, with the runtime and the plug-ins of the build. What it writes is
// read with FFmpeg's own tools (Debian's ffmpeg package).
#include <cmath>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>
#include <vector>

#include "host/ExitCode.h"
#include "tests/support/ShellCommand.h"
#include "tests/support/TemporaryFolder.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using testing::ShellCommand;
using testing::TemporaryFolder;

class RenderCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (ShellCommand::run("command -v ffprobe >/dev/null && command -v xvfb-run").status != 0)
            GTEST_SKIP() << "needs ffprobe (Debian package ffmpeg) and xvfb-run (xvfb)";
    }

    // Runs `corvane render scene/demo.scene keyframes.xml --media media ARGUMENTS` in the
    // demo's folder with the test's cache folder; `output` gets what it writes to standard
    // error.
    int render(const std::string& arguments) {
        const ShellCommand::Outcome outcome = ShellCommand::run(
            "cd '" CORVANE_DEMO_FOLDER "' && env " CORVANE_HOST_ENVIRONMENT " XDG_CACHE_HOME='" +
            folder.path() +
            "/cache' '" CORVANE_HOST "' render scene/demo.scene keyframes.xml --media media " +
            arguments + " 2>&1 >/dev/null");
        output = outcome.output;
        return outcome.status;
    }

    // ffprobe's figures of one stream of a file, "name=value" a line.
    static std::string probe(const std::string& path, const std::string& stream) {
        return ShellCommand::run("ffprobe -v error -count_frames -select_streams " + stream +
                                 " -show_entries stream=codec_name,width,height,pix_fmt,"
                                 "nb_read_frames -of default=nw=1 '" +
                                 path + "'")
            .output;
    }

    // Seconds into the file's sound track of its first sound (a sample above -40 dB).
    static double firstSound(const std::string& path) {
        const std::string samples =
            ShellCommand::run("ffmpeg -v error -i '" + path + "' -map 0:a -ac 1 -f f32le -").output;
        for (std::size_t at = 0; at + 4 <= samples.size(); at += 4) {
            float value = 0.0f;
            std::memcpy(&value, samples.data() + at, 4);
            if (std::fabs(value) > 0.01f)
                return static_cast<double>(at / 4) / 48000.0;
        }
        return -1.0;
    }

    TemporaryFolder folder;
    std::string output;
};

// Two seconds of the demo, from 2 s: the door's sound (at 2.5 s) starts half a second in.
TEST_F(RenderCommandTest, EachContainerHoldsTheRangesFramesAndItsSoundOnTime) {
    // The sounds are found by their names among the media, or taken from the demo's host
    // configuration.
    const struct {
        const char* file;
        const char* video;
        const char* more;
    } rows[] = {
        {"film.mp4", "codec_name=h264\nwidth=320\nheight=180\npix_fmt=yuv420p\n", ""},
        {"film.webm", "codec_name=vp9\nwidth=320\nheight=180\npix_fmt=yuv420p\n", ""},
        {"film.mov", "codec_name=prores\nwidth=320\nheight=180\npix_fmt=yuv422p10le\n",
         " --sounds corvane.xml"},
    };
    for (const auto& row : rows) {
        const std::string path = folder.path() + "/" + row.file;
        ASSERT_EQ(render("-o '" + path + "' --size 320x180 --range 2:4" + row.more), EXIT_CODE_OK)
            << output;
        EXPECT_NE(output.find("FrameCapture: wrote " + path +
                              ": 60 frames of 320x180 at 30 fps (2 s from script time 2 s), "),
                  std::string::npos)
            << output;
        const std::string video = probe(path, "v");
        EXPECT_EQ(video.rfind(row.video, 0), 0u) << row.file << "\n" << video;
        EXPECT_NE(video.find("nb_read_frames=60\n"), std::string::npos) << row.file << video;
        EXPECT_NEAR(firstSound(path), 0.5, 1.0 / 30.0) << row.file;
    }
    // Written whole and named, nothing else is left.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 4);
}

// A render farm renders a film in ranges: each range's frames are the whole film's, to the
// byte, and carry its names.
TEST_F(RenderCommandTest, ARangesPngFramesAreTheWholeFilmsFrames) {
    const std::string whole = folder.path() + "/whole/";
    const std::string part = folder.path() + "/part/";
    ASSERT_EQ(render("-o '" + whole + "' --size 96x54 --range 0:1"), EXIT_CODE_OK) << output;
    ASSERT_EQ(render("-o '" + part + "' --size 96x54 --range 0.5:1"), EXIT_CODE_OK) << output;
    std::size_t compared = 0;
    for (const fs::directory_entry& file : fs::directory_iterator(part)) {
        const std::string name = file.path().filename().string();
        EXPECT_EQ(TemporaryFolder::read(file.path().string()), TemporaryFolder::read(whole + name))
            << name;
        ++compared;
    }
    EXPECT_EQ(compared, 15u);
    EXPECT_TRUE(fs::is_regular_file(part + "frame_000015.png"));
    EXPECT_TRUE(fs::is_regular_file(whole + "frame_000000.png"));
}

// A frame larger than the virtual screen the tests run on (1024x768).
TEST_F(RenderCommandTest, AFrameLargerThanTheScreenHasTheAskedSize) {
    const std::string frames = folder.path() + "/large/";
    ASSERT_EQ(render("-o '" + frames + "' --size 3840x2160 --range 3:3.02"), EXIT_CODE_OK)
        << output;
    EXPECT_EQ(ShellCommand::run("ffprobe -v error -show_entries stream=width,height -of csv=p=0 '" +
                                frames + "frame_000090.png'")
                  .output,
              "3840,2160\n");
}

// Stopped by a signal, the render ends the file where it got to, and that plays.
TEST_F(RenderCommandTest, ARenderStoppedBySignalLeavesAFileThatPlays) {
    const std::string path = folder.path() + "/stopped.mp4";
    const std::string errors = folder.path() + "/errors";
    const ShellCommand::Outcome outcome = ShellCommand::run(
        "cd '" CORVANE_DEMO_FOLDER "' && (env " CORVANE_HOST_ENVIRONMENT " XDG_CACHE_HOME='" +
        folder.path() +
        "/cache' '" CORVANE_HOST
        "' render scene/demo.scene keyframes.xml --media media --size 1280x720 -o '" +
        path + "' 2>'" + errors + "' & host=$!; " + "until grep -q '^frame ' '" + errors +
        "' || ! kill -0 $host 2>/dev/null; do sleep 0.05; " +
        "done; kill -INT $host; wait $host; echo $?)");
    output = TemporaryFolder::read(errors);
    EXPECT_EQ(outcome.output, std::to_string(EXIT_CODE_SIGNAL_BASE + 2) + "\n") << output;
    EXPECT_NE(output.find("FrameCapture: the film stopped after "), std::string::npos) << output;
    EXPECT_NE(probe(path, "v").find("nb_read_frames="), std::string::npos);
    EXPECT_EQ(ShellCommand::run("ffmpeg -v error -i '" + path + "' -f null - 2>&1").output, "");
}

// A disk that fills: one line, exit status 6, and nothing under the film's name but whole
// PNG frames; a video file that could not be ended is not kept.
TEST_F(RenderCommandTest, AFullDiskIsOneLineAndLeavesNoPartOfAFilm) {
    if (geteuid() != 0)
        GTEST_SKIP() << "mounts a file system: needs root";
    const std::string disk = folder.path() + "/disk";
    fs::create_directories(disk);
    ASSERT_EQ(ShellCommand::run("mount -t tmpfs -o size=64k corvane '" + disk + "'").status, 0);
    const struct {
        const char* output;
        std::vector<std::string> lines; // in this order
    } rows[] = {
        {"film.mov",
         {"FrameCapture: cannot write " + disk +
              "/film.mov: No space left on device; the film "
              "stops\n",
          "FrameCapture: no film is written to " + disk + "/film.mov\n"}},
        {"frames/",
         {"FrameCapture: cannot write " + disk + "/frames/frame_0000",
          ".png: No space left on device; the film stops\n",
          " of 30 frames written to " + disk + "/frames/\n"}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(render("-o '" + disk + "/" + row.output + "' --size 320x180 --range 0:1"),
                  EXIT_CODE_OUTPUT)
            << output;
        std::size_t at = 0;
        for (const std::string& line : row.lines) {
            at = output.find(line, at);
            EXPECT_NE(at, std::string::npos) << line << "\n" << output;
        }
    }
    EXPECT_FALSE(fs::exists(disk + "/film.mov"));
    for (const fs::directory_entry& file : fs::directory_iterator(disk + "/frames"))
        EXPECT_EQ(file.path().filename().string().rfind("frame_", 0), 0u) << file.path();
    ShellCommand::run("umount -l '" + disk + "'");
}

// Each value that cannot be used is one line, before anything runs.
TEST_F(RenderCommandTest, ValuesThatCannotBeUsedAreOneLineEach) {
    const std::string film = folder.path() + "/film.mp4";
    const std::string notes = folder.write("notes.txt", "not a folder");
    const struct {
        std::string arguments;
        int status;
        std::string line; // after "corvane render: "
    } rows[] = {
        {"-o film.avi", EXIT_CODE_CONFIGURATION,
         "film.avi: the ending \".avi\" is none the render writes: .mp4, .webm, .mov, or a "
         "folder for PNG files"},
        {"-o '" + film + "' --size 1x100", EXIT_CODE_CONFIGURATION,
         "--size needs WIDTHxHEIGHT, each from 2 to 16384 pixels, not \"1x100\""},
        {"-o '" + film + "' --size 16384x16384", EXIT_CODE_CONFIGURATION,
         "--size 16384x16384: FFmpeg's encoders take no picture this large; (WIDTH + 128) x "
         "(HEIGHT + 128) must stay below 268435456, as 16254x16254 does"},
        {"-o '" + film + "' --size 321x180", EXIT_CODE_CONFIGURATION,
         "--size 321x180: a .mp4 film needs an even width"},
        {"-o '" + film + "' --fps 0", EXIT_CODE_CONFIGURATION,
         "--fps needs a whole number of frames a second from 1 to 240, not \"0\""},
        {"-o '" + film + "' --range 4:2", EXIT_CODE_CONFIGURATION,
         "--range needs START:END, seconds of script time with START below END, not \"4:2\""},
        {"-o '" + film + "' --range 40:50", EXIT_CODE_CONFIGURATION,
         "--range 40:50: the script ends at 28 s; the range holds none of it"},
        {"-o '" + film + "' --quality 101", EXIT_CODE_CONFIGURATION,
         "--quality needs a whole number from 1 to 100, not \"101\""},
        {"-o '" + film + "' --sounds nowhere.xml", EXIT_CODE_CONFIGURATION,
         CORVANE_DEMO_FOLDER "/nowhere.xml: No such file or directory"},
        {"-o '" + film + "' --sounds media", EXIT_CODE_CONFIGURATION,
         CORVANE_DEMO_FOLDER "/media: Is a directory"},
        {"-o '" + notes + "/frames/'", EXIT_CODE_OUTPUT, notes + "/frames: Not a directory"},
        {"-o '" + folder.path() + "/gone/film.mp4'", EXIT_CODE_OUTPUT,
         folder.path() + "/gone: No such file or directory"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(render(row.arguments), row.status) << row.arguments;
        EXPECT_EQ(output, "corvane render: " + row.line + "\n") << row.arguments;
    }
    EXPECT_FALSE(fs::exists(folder.path() + "/cache"));
}

} // namespace
} // namespace corvane
