// bench_farm: what a film costs made in ranges, as a render farm makes it.
//
// chunked_to_single_cpu_ratio: the processor time (user and system, of every process of the
// run: the hosts, their virtual X servers, the join) of the demo at 1280x720 made into an
// MP4 file as 4 ranges in processes of their own and joined, against one process making it
// whole. On a farm the wall time is that total divided by the machines, so this is what the
// splitting costs.
//
// range_seek_to_range_render_ratio: the last of 60 ranges of a film of a one-hour script (the
// demo's script over and over), by the host and the plug-in modules in this process: the
// processor time of the range's first frame, whose playback replays the 106,200 frames
// before it, against that of rendering the range's 1,800 frames (measured on its first 60
// and scaled).
//
// Without a display it runs itself under a virtual X server; the hosts it starts make
// their own.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>

#include "bench/DemoFilm.h"
#include "host/FarmJob.h"
#include "host/FrameRange.h"
#include "host/PluginHost.h"
#include "platform/CurrentDirectory.h"
#include "platform/StandardErrorCapture.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/VirtualScreen.h"

namespace {

namespace fs = std::filesystem;
using namespace corvane;

constexpr std::uint32_t FPS = 30;
constexpr std::uint64_t DEMO_FRAMES = 840;
constexpr std::uint64_t HOUR_FRAMES = 3600 * FPS;
constexpr std::uint64_t RANGES = 60;
constexpr std::uint64_t MEASURED_FRAMES = 60;

double childSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The processor time of one command and of every process it started; negative when it
// failed.
double cpuOf(const std::string& command) {
    const double before = childSeconds();
    if (std::system((command + " >/dev/null 2>&1").c_str()) != 0) {
        std::fprintf(stderr, "bench_farm: failed: %s\n", command.c_str());
        return -1.0;
    }
    return childSeconds() - before;
}

// The demo's script repeated for an hour, each copy 30 s after the one before.
std::string hourScript() {
    std::ifstream demo(CORVANE_DEMO_FOLDER "/keyframes.xml");
    std::stringstream text;
    text << demo.rdbuf();
    const std::string script = text.str();
    const std::size_t open = script.find("<keyframes>") + std::string("<keyframes>").size();
    const std::string body = script.substr(open, script.rfind("</keyframes>") - open);
    std::string hour = "<keyframes>\n";
    for (int copy = 0; copy * 30 < 3600; ++copy) {
        std::string shifted;
        std::size_t at = 0;
        // Every time="T" moved by the copy's start.
        for (std::size_t found; (found = body.find("time=\"", at)) != std::string::npos;) {
            const std::size_t start = found + 6;
            const std::size_t end = body.find('"', start);
            shifted += body.substr(at, start - at) +
                       std::to_string(std::stod(body.substr(start, end - start)) + copy * 30.0);
            at = end;
        }
        hour += shifted + body.substr(at);
    }
    return hour + "<keyframe entity=\"narrator\" time=\"3600\"/>\n</keyframes>\n";
}

// The processor time of the last range's first frame and of its following frames, each a
// frame; false when the run failed.
bool measureLastRange(const std::string& folder, double& seekSeconds, double& frameSeconds) {
    const std::string script = folder + "/hour.xml";
    std::ofstream(script) << hourScript();
    const FrameRange last = FrameRange::split(0, HOUR_FRAMES, RANGES, FPS).back();
    PlayConfiguration::Film film;
    film.format = "mp4";
    film.output = folder + "/last.mp4";
    film.first = last.first;
    film.end = last.last + 1;
    film.range = true;
    PluginHost host;
    if (!startDemoFilm(host, script, film))
        return false;
    const float step = 1.0f / FPS;
    std::clock_t start = std::clock();
    host.runFrames({step, 1});
    seekSeconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    start = std::clock();
    host.runFrames({step, 1 + MEASURED_FRAMES});
    frameSeconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC / MEASURED_FRAMES;
    host.stopAll();
    host.unloadAll();
    return true;
}

} // namespace

int main() {
    testing::VirtualScreen::ensure("bench_farm");
    if (std::getenv("DISPLAY") == nullptr)
        return 1;
    testing::TemporaryFolder folder;

    // The hosts make their own virtual X server, as on a farm's machines.
    const std::string render = "cd '" CORVANE_DEMO_FOLDER "' && env -u DISPLAY XDG_CACHE_HOME='" +
                               folder.path() + "/cache' '" CORVANE_HOST +
                               "' render scene/demo.scene keyframes.xml --media media -o ";
    // Each way twice, in turns; the smaller figure of each counts.
    double single = 1e30;
    double chunked = 1e30;
    for (int round = 0; round < 2; ++round) {
        single = std::min(single, cpuOf(render + "'" + folder.path() + "/single.mp4'"));
        double ranges = 0.0;
        std::string join = "'" CORVANE_HOST "' join '" + folder.path() + "/chunked.mp4'";
        for (const FrameRange& range : FrameRange::split(0, DEMO_FRAMES, 4, FPS)) {
            const std::string segment = FarmJob::segmentFile(folder.path() + "/chunked.mp4", range);
            // --force: the ranges of the first round are there already.
            ranges += cpuOf(render + "'" + segment + "' --force --frame-range " + range.label());
            join += " '" + segment + "'";
        }
        chunked = std::min(chunked, ranges + cpuOf(join));
    }
    if (single <= 0.0 || chunked <= 0.0)
        return 1;

    fs::copy(CORVANE_RUNTIME_FOLDER, folder.path() + "/app", fs::copy_options::recursive);
    CurrentDirectory::set(folder.path() + "/app");
    double seekSeconds = 0.0;
    double frameSeconds = 0.0;
    StandardErrorCapture quiet;
    const bool measured = measureLastRange(folder.path(), seekSeconds, frameSeconds);
    const std::string said = quiet.finish();
    if (!measured) {
        std::fprintf(stderr, "bench_farm: the last range failed:\n%s", said.c_str());
        return 1;
    }
    const double rangeFrames = static_cast<double>(HOUR_FRAMES / RANGES);
    std::printf("single_process_cpu_s: %.2f\n", single);
    std::printf("four_ranges_and_join_cpu_s: %.2f\n", chunked);
    std::printf("chunked_to_single_cpu_ratio: %.3f\n", chunked / single);
    std::printf("range_seek_cpu_s: %.3f\n", seekSeconds);
    std::printf("range_frame_cpu_ms: %.2f\n", 1000.0 * frameSeconds);
    std::printf("range_seek_to_range_render_ratio: %.4f\n",
                seekSeconds / (frameSeconds * rangeFrames));
    return 0;
}
