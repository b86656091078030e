// bench_render: the demo's first 300 frames at 1280x720 made three ways in one run, by the
// host and the real plug-in modules in this process: drawn off-screen and read back only;
// made into an MP4 file with its sound; made into PNG files. Prints the frames per second
// of each and the ratios of the film's time to the frames' alone. Each way is run twice, in
// turns, and its faster run counts. Without a display it runs itself under a virtual X
// server.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/DemoFilm.h"
#include "framework/IFrameSource.h"
#include "framework/Identifiers.h"
#include "host/ExitCode.h"
#include "host/PluginHost.h"
#include "platform/CurrentDirectory.h"
#include "platform/StandardErrorCapture.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/VirtualScreen.h"

namespace {

namespace fs = std::filesystem;
using namespace corvane;
using Clock = std::chrono::steady_clock;

constexpr std::uint32_t WIDTH = 1280;
constexpr std::uint32_t HEIGHT = 720;
constexpr std::uint32_t FPS = 30;
constexpr std::uint64_t FRAMES = 300;

enum class Way { FRAMES_ONLY, VIDEO, PNG };

// Seconds for the film's frames one way, after the plug-ins have started, and the
// processor's seconds of the whole process meanwhile; negative when the run failed.
double run(Way way, const std::string& folder, double& cpuSeconds) {
    PlayConfiguration::Film film;
    film.format = way == Way::PNG ? "png" : "mp4";
    film.output = folder + (way == Way::PNG ? "/frames/" : "/film.mp4");
    fs::create_directories(folder + "/frames");
    film.width = WIDTH;
    film.height = HEIGHT;
    film.framesPerSecond = FPS;
    film.end = FRAMES;
    // The frames alone: what the capture does but the writing, the bench in its place.
    PluginHost host;
    if (!startDemoFilm(host, CORVANE_DEMO_FOLDER "/keyframes.xml", film, way != Way::FRAMES_ONLY))
        return -1.0;
    const PluginHost::FrameOptions step{1.0f / FPS, FRAMES + 1};
    const Clock::time_point start = Clock::now();
    const std::clock_t cpuStart = std::clock();
    if (way == Way::FRAMES_ONLY) {
        void* pointer = nullptr;
        if (!host.pluginInterface(PLUGIN_ID_SCENE_VIEWER, IID_IFrameSource, &pointer))
            return -1.0;
        IFrameSource& frames = *static_cast<IFrameSource*>(pointer);
        if (!frames.openTarget(WIDTH, HEIGHT))
            return -1.0;
        std::vector<std::uint8_t> pixels(std::size_t(WIDTH) * HEIGHT * 4);
        for (std::uint64_t frame = 0; frame <= FRAMES; ++frame) {
            frames.setDrawing(frame > 0);
            host.runFrames({step.fixedStep, frame + 1});
            if (frame > 0 && !frames.readFrame(pixels.data(), std::size_t(WIDTH) * 4))
                return -1.0;
        }
    } else if (host.runFrames(step) != EXIT_CODE_OK) {
        return -1.0;
    }
    const bool stopped = host.stopAll();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    cpuSeconds = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    host.unloadAll();
    return stopped ? seconds : -1.0;
}

} // namespace

int main() {
    testing::VirtualScreen::ensure("bench_render");
    if (std::getenv("DISPLAY") == nullptr)
        return 1;
    testing::TemporaryFolder folder;
    fs::copy(CORVANE_RUNTIME_FOLDER, folder.path(), fs::copy_options::recursive);
    CurrentDirectory::set(folder.path());
    const Way ways[] = {Way::FRAMES_ONLY, Way::VIDEO, Way::PNG};
    double best[3] = {1e30, 1e30, 1e30};
    double cpu[3] = {1e30, 1e30, 1e30};
    for (int round = 0; round < 2; ++round)
        for (int way = 0; way < 3; ++way) {
            StandardErrorCapture quiet;
            double cpuSeconds = 0.0;
            const double seconds = run(ways[way], folder.path(), cpuSeconds);
            const std::string said = quiet.finish();
            if (seconds < 0.0) {
                std::fprintf(stderr, "bench_render: a run failed:\n%s", said.c_str());
                return 1;
            }
            best[way] = std::min(best[way], seconds);
            cpu[way] = std::min(cpu[way], cpuSeconds);
            fs::remove_all(folder.path() + "/frames");
        }
    std::printf("render_only_fps: %.1f\n", FRAMES / best[0]);
    std::printf("render_video_fps: %.1f\n", FRAMES / best[1]);
    std::printf("render_png_fps: %.1f\n", FRAMES / best[2]);
    std::printf("render_video_to_render_only_ratio: %.3f\n", best[1] / best[0]);
    std::printf("render_png_to_render_only_ratio: %.3f\n", best[2] / best[0]);
    // The processor's time, threads together: what the film adds, whatever else the
    // machine runs meanwhile.
    std::printf("render_only_cpu_ms_per_frame: %.2f\n", 1000.0 * cpu[0] / FRAMES);
    std::printf("render_video_cpu_ms_per_frame: %.2f\n", 1000.0 * cpu[1] / FRAMES);
    std::printf("render_png_cpu_ms_per_frame: %.2f\n", 1000.0 * cpu[2] / FRAMES);
    return 0;
}
