// A film rendered as a render farm renders it: ranges of frames in processes of their own,
// the jobs of GNU parallel, Slurm and Kubernetes, and `corvane join`; the built host on the
// demo, what it writes read with FFmpeg's own tools.
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

class FarmRenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (ShellCommand::run("command -v ffmpeg >/dev/null && command -v xvfb-run").status != 0)
            GTEST_SKIP() << "needs ffmpeg (Debian package ffmpeg) and xvfb-run (xvfb)";
    }

    // `corvane SUBCOMMAND ARGUMENTS` in the demo's folder; `output` gets what it writes to
    // standard error, `written` what it writes to standard output.
    int run(const std::string& subcommand, const std::string& arguments,
            const std::string& in = CORVANE_DEMO_FOLDER) {
        const ShellCommand::Outcome outcome = ShellCommand::run(
            "cd '" + in + "' && env " CORVANE_HOST_ENVIRONMENT " XDG_CACHE_HOME='" + folder.path() +
            "/cache' '" CORVANE_HOST "' " + subcommand + " " + arguments + " 2>'" + folder.path() +
            "/errors'");
        written = outcome.output;
        output = TemporaryFolder::read(folder.path() + "/errors");
        return outcome.status;
    }
    int render(const std::string& arguments) {
        return run("render",
                   "scene/demo.scene keyframes.xml --media media --size 96x54 " + arguments);
    }

    // The pictures as decoded, one checksum a frame.
    static std::string decoded(const std::string& path) {
        return ShellCommand::run("ffmpeg -v error -i '" + path +
                                 "' -map 0:v -f framemd5 - | grep -v '^#'")
            .output;
    }

    TemporaryFolder folder;
    std::string output;
    std::string written;
};

// Two ranges run by GNU parallel on this machine make the film that one process makes:
// the same PNG files to the byte, a joined video with the same frames as decoded; and the
// job run again renders nothing.
TEST_F(FarmRenderTest, TwoRangesByGnuParallelMakeTheSingleRendersFilm) {
    if (ShellCommand::run("command -v parallel").status != 0)
        GTEST_SKIP() << "needs GNU parallel (Debian package parallel)";
    const std::string single = folder.path() + "/single";
    const std::string farm = folder.path() + "/farm";
    for (const char* output : {"/frames/", "/film.mp4"}) {
        fs::create_directories(single);
        ASSERT_EQ(render("--range 0:2 -o '" + single + output + "'"), EXIT_CODE_OK) << output;
        ASSERT_EQ(render("--range 0:2 --chunks 2 --emit parallel -o '" + farm + output + "'"),
                  EXIT_CODE_OK)
            << output;
        fs::create_directories(farm);
        const std::string job = folder.write("job.sh", written);
        const ShellCommand::Outcome ran =
            ShellCommand::run("env " CORVANE_HOST_ENVIRONMENT " sh '" + job + "' 2>&1");
        ASSERT_EQ(ran.status, 0) << written << ran.output;
    }
    std::size_t frames = 0;
    for (const fs::directory_entry& file : fs::directory_iterator(single + "/frames")) {
        const std::string name = file.path().filename().string();
        EXPECT_EQ(TemporaryFolder::read(file.path().string()),
                  TemporaryFolder::read(farm + "/frames/" + name))
            << name;
        ++frames;
    }
    EXPECT_EQ(frames, 60u);
    const std::string pictures = decoded(single + "/film.mp4");
    EXPECT_EQ(std::count(pictures.begin(), pictures.end(), '\n'), 60);
    EXPECT_EQ(decoded(farm + "/film.mp4"), pictures);

    const ShellCommand::Outcome again = ShellCommand::run("env " CORVANE_HOST_ENVIRONMENT " sh '" +
                                                          folder.path() + "/job.sh' 2>&1");
    EXPECT_EQ(again.status, 0);
    EXPECT_NE(again.output.find("000000-000029\tFrameCapture: frames 0 to 29 are in " + farm +
                                "/film.000000-000029.mp4 already; nothing is rendered"),
              std::string::npos)
        << again.output;
}

// A PNG range rendered again renders nothing; with --force it renders it all.
TEST_F(FarmRenderTest, ARangeRenderedTwiceRendersNothingTheSecondTime) {
    const std::string frames = folder.path() + "/frames";
    ASSERT_EQ(render("--frame-range 40-49 -o '" + frames + "/'"), EXIT_CODE_OK) << output;
    const auto stamp = fs::last_write_time(frames + "/frame_000045.png");
    ASSERT_EQ(render("--frame-range 40-49 -o '" + frames + "/'"), EXIT_CODE_OK) << output;
    EXPECT_NE(output.find("FrameCapture: frames 40 to 49 are in " + frames +
                          " already; nothing is rendered (--force renders them anew)\n"),
              std::string::npos)
        << output;
    EXPECT_EQ(fs::last_write_time(frames + "/frame_000045.png"), stamp);
    ASSERT_EQ(render("--frame-range 40-49 --force -o '" + frames + "/'"), EXIT_CODE_OK);
    EXPECT_NE(fs::last_write_time(frames + "/frame_000045.png"), stamp);
}

// A range stopped in its middle, however it is stopped, leaves no file under its name.
TEST_F(FarmRenderTest, AKilledRangeLeavesNoFileUnderAFinalName) {
    const struct {
        const char* signal;
        int status;
    } rows[] = {{"INT", EXIT_CODE_SIGNAL_BASE + 2}, {"KILL", EXIT_CODE_SIGNAL_BASE + 9}};
    for (const auto& row : rows) {
        const std::string film = folder.path() + "/film." + row.signal + ".mp4";
        const std::string errors = folder.path() + "/errors";
        const ShellCommand::Outcome outcome = ShellCommand::run(
            "cd '" CORVANE_DEMO_FOLDER "' && (env " CORVANE_HOST_ENVIRONMENT " XDG_CACHE_HOME='" +
            folder.path() +
            "/cache' '" CORVANE_HOST "' render scene/demo.scene keyframes.xml --media media "
            "--size 640x360 --frame-range 30-839 -o '" +
            film + "' 2>'" + errors + "' & host=$!; until grep -q '^frame ' '" + errors +
            "' || ! kill -0 $host 2>/dev/null; do sleep 0.05; done; kill -" + row.signal +
            " $host; wait $host; echo $?)");
        EXPECT_EQ(outcome.output, std::to_string(row.status) + "\n")
            << TemporaryFolder::read(errors);
        EXPECT_FALSE(fs::exists(film)) << row.signal;
    }
}

// A sound that plays across a range's first frame goes on in the range from where it is,
// to the sample: the door's sound, begun at 2.5 s, in a range from 3 s.
TEST_F(FarmRenderTest, ASoundPlayingAtARangesStartGoesOnFromWhereItIs) {
    const std::string whole = folder.path() + "/whole.mov";
    const std::string range = folder.path() + "/range.mov";
    ASSERT_EQ(render("--range 0:4 -o '" + whole + "'"), EXIT_CODE_OK) << output;
    ASSERT_EQ(render("--frame-range 90-119 -o '" + range + "'"), EXIT_CODE_OK) << output;
    auto samples = [](const std::string& path, const char* from) {
        return ShellCommand::run("ffmpeg -v error -ss " + std::string(from) + " -i '" + path +
                                 "' -map 0:a -f s16le -")
            .output;
    };
    const std::string heard = samples(range, "0");
    ASSERT_EQ(heard.size(), 48000u * 4);
    EXPECT_TRUE(heard == samples(whole, "3"));
    EXPECT_TRUE(heard != std::string(heard.size(), '\0'));
}

// The jobs for engines that need no cluster here to be checked: the Slurm script is a
// bash script, the Kubernetes manifest an Indexed Job whose bad input is not tried again.
TEST_F(FarmRenderTest, TheSlurmScriptAndTheKubernetesManifestAreWellFormed) {
    ASSERT_EQ(render("--chunks 4 --emit slurm -o '" + folder.path() + "/film.mp4'"), EXIT_CODE_OK);
    const std::string slurm = folder.write("film.slurm", written);
    EXPECT_EQ(ShellCommand::run("bash -n '" + slurm + "' 2>&1").output, "");
    EXPECT_NE(written.find("#SBATCH --array=0-3\n"), std::string::npos) << written;
    // On a site of several clusters `sbatch --parsable` says "JOB;CLUSTER".
    folder.write("bin/sbatch", "#!/bin/sh\necho \"$*\" >> \"$0.calls\"\n"
                               "case \"$*\" in *--parsable*) echo '48213;cluster' ;; esac\n");
    EXPECT_EQ(ShellCommand::run("chmod +x '" + folder.path() + "/bin/sbatch' && PATH='" +
                                folder.path() + "/bin':$PATH bash '" + slurm + "'")
                  .output,
              "submitted the ranges as job 48213\n");
    EXPECT_NE(TemporaryFolder::read(folder.path() + "/bin/sbatch.calls")
                  .find("--dependency=afterok:48213 "),
              std::string::npos);

    if (ShellCommand::run("python3 -c 'import yaml'").status != 0)
        GTEST_SKIP() << "needs Python's YAML reader (Debian package python3-yaml)";
    ASSERT_EQ(render("--chunks 4 --emit kubernetes -o '" + folder.path() + "/film.mp4'"),
              EXIT_CODE_OK);
    const std::string manifest = folder.write("film.yaml", written);
    EXPECT_EQ(
        ShellCommand::run("python3 -c \"import sys, yaml; job = yaml.safe_load(open(sys.argv[1])); "
                          "body = job['spec']; rule = body['podFailurePolicy']['rules'][0]; "
                          "print(job['kind'], body['completionMode'], body['completions'], "
                          "body['template']['spec']['restartPolicy'], rule['action'], "
                          "rule['onExitCodes']['values'])\" '" +
                          manifest + "'")
            .output,
        "Job Indexed 4 Never FailJob [1, 2]\n");
}

// Segments that do not make one film: one line, exit status 2, nothing written.
TEST_F(FarmRenderTest, SegmentsThatDoNotMakeOneFilmAreOneLine) {
    const std::string base = folder.path() + "/";
    for (const char* range : {"0-29", "30-59", "60-89", "20-39", "31-31"})
        ASSERT_EQ(render(std::string("--frame-range ") + range + " -o '" + base + range + ".mp4'"),
                  EXIT_CODE_OK)
            << output;
    ASSERT_EQ(run("render", "scene/demo.scene keyframes.xml --media media --size 128x72 "
                            "--frame-range 30-59 -o '" +
                                base + "large.mp4'"),
              EXIT_CODE_OK);
    ASSERT_EQ(ShellCommand::run("ffmpeg -v error -f lavfi -i testsrc=size=96x54:rate=30 -t 1 '" +
                                base + "other.mp4'")
                  .status,
              0);
    // Read whole when opened, its sound found bad only once the join decodes it.
    ASSERT_EQ(ShellCommand::run("ffmpeg -v error -i '" + base +
                                "30-59.mp4' -map 0 -c copy -map_metadata 0 -movflags "
                                "use_metadata_tags -bsf:a noise=amount=2 '" +
                                base + "noisy.mp4'")
                  .status,
              0);
    const struct {
        std::string segments;
        std::string line; // after "corvane join: "
    } rows[] = {
        {"0-29.mp4 60-89.mp4",
         "frames 30 to 59 are in no segment: 0-29.mp4 ends at frame 29, 60-89.mp4 begins at 60"},
        {"0-29.mp4 20-39.mp4", "frames 20 to 29 are in both 0-29.mp4 and 20-39.mp4"},
        {"0-29.mp4 31-31.mp4",
         "frame 30 is in no segment: 0-29.mp4 ends at frame 29, 31-31.mp4 begins at 31"},
        {"30-59.mp4 31-31.mp4", "frame 31 is in both 30-59.mp4 and 31-31.mp4"},
        {"0-29.mp4 noisy.mp4",
         "noisy.mp4: its sound cannot be decoded: Invalid data found when processing input"},
        {"0-29.mp4 large.mp4",
         "large.mp4 does not match 0-29.mp4: it has frames of 128x72, not 96x54"},
        {"0-29.mp4 other.mp4", "other.mp4: does not say where in a film it begins: it is no "
                               "film of corvane render"},
        {"0-29.mp4 30-59.webm", "30-59.webm is no .mp4 file like film.mp4"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(run("join", "film.mp4 " + row.segments, folder.path()), EXIT_CODE_CONFIGURATION)
            << row.segments;
        EXPECT_EQ(output, "corvane join: " + row.line + "\n") << row.segments;
    }
    EXPECT_FALSE(fs::exists(base + "film.mp4"));
}

// A disk that fills while the join writes: exit status 6, a line that names the film asked
// for (not the hidden name it is written under), and nothing left on the disk.
TEST_F(FarmRenderTest, AJoinOntoAFullDiskNamesTheFilm) {
    if (geteuid() != 0)
        GTEST_SKIP() << "mounts a file system: needs root";
    const std::string disk = folder.path() + "/disk";
    fs::create_directories(disk);
    ASSERT_EQ(render("--frame-range 0-29 -o '" + folder.path() + "/0-29.mp4'"), EXIT_CODE_OK);
    ASSERT_EQ(ShellCommand::run("mount -t tmpfs -o size=4k corvane '" + disk + "'").status, 0);
    EXPECT_EQ(run("join", "'" + disk + "/film.mp4' 0-29.mp4", folder.path()), EXIT_CODE_OUTPUT);
    EXPECT_EQ(output,
              "corvane join: cannot write " + disk + "/film.mp4: No space left on device\n");
    EXPECT_TRUE(fs::is_empty(disk));
    ShellCommand::run("umount -l '" + disk + "'");
}

// Values of a range or a job that cannot be used are one line each, before anything runs.
TEST_F(FarmRenderTest, RangesAndJobsThatCannotBeMadeAreOneLineEach) {
    const std::string film = "-o '" + folder.path() + "/film.mp4' ";
    const struct {
        std::string arguments;
        std::string line; // after "corvane render: "
    } rows[] = {
        {film + "--frame-range 9-3", "--frame-range needs FIRST-LAST, frame numbers of the whole "
                                     "film with FIRST at most LAST, not \"9-3\""},
        {film + "--frame-range 800-840",
         "--frame-range 800-840: the film has frames 0 to 839 (28 s at 30 fps)"},
        {film + "--chunks 0 --emit slurm",
         "--chunks needs a whole number of ranges from 1 up, not \"0\""},
        {film + "--chunks 841 --emit slurm",
         "--chunks 841: the film has 840 frames; from 1 to 840 ranges can be made of it"},
        {film + "--chunks 4 --emit cron",
         "--emit needs \"parallel\", \"slurm\" or \"kubernetes\", not \"cron\""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(render(row.arguments), EXIT_CODE_CONFIGURATION) << row.arguments;
        EXPECT_EQ(output, "corvane render: " + row.line + "\n") << row.arguments;
        EXPECT_EQ(written, "") << row.arguments;
    }
    EXPECT_FALSE(fs::exists(folder.path() + "/cache"));
}

} // namespace
} // namespace corvane
