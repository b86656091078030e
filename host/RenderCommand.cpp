#include "host/RenderCommand.h"

#include <cmath>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <system_error>

#include "host/ExitCode.h"
#include "host/FarmJob.h"
#include "host/PlayCommand.h"
#include "host/PlayConfiguration.h"
#include "host/RenderOptions.h"
#include "host/SceneFiles.h"
#include "platform/DebugOutput.h"
#include "platform/DiagnosticSink.h"
#include "platform/ExecutablePath.h"
#include "platform/FileAccess.h"
#include "playback/KeyframeLoader.h"

namespace corvane {

namespace {

namespace fs = std::filesystem;

const char* const ORIGIN = "corvane render";

void report(const std::string& text) {
    DebugOutput::line(std::string(ORIGIN) + ": " + text);
}

// The playback says what is wrong with a script when it plays it; here only its length is
// wanted.
class Silent final : public DiagnosticSink {
public:
    void report(const Diagnostic&) override {}
    void list(std::string_view) override {}
};

// The script's length as the playback takes it: its largest keyframe time; 0 without one.
double scriptLength(const std::string& script) {
    if (script.empty())
        return 0.0;
    KeyframeMap keyframes;
    Silent silent;
    KeyframeLoader::load(script, keyframes, silent);
    return keyframes.empty() ? 0.0 : std::max(0.0, double(std::prev(keyframes.end())->first));
}

// Where the film goes can be written to: a file's folder, or the PNG files' folder (made
// when missing). Empty, or the folder and the system's reason it cannot.
std::string unwritable(const PlayConfiguration::Film& film) {
    const fs::path folder =
        film.format == "png" ? fs::path(film.output) : fs::path(film.output).parent_path();
    std::error_code made;
    if (film.format == "png")
        fs::create_directories(folder, made);
    const std::string reason = FileAccess::whyNotWritable(folder.string());
    return reason.empty() ? "" : folder.string() + ": " + reason;
}

// Writes the job that renders the film's frames in `options.chunks` ranges on a farm.
int emitJob(const RenderOptions& options, const PlayConfiguration& configuration,
            const PlayConfiguration::Film& film) {
    const std::uint64_t count = film.end - film.first;
    if (options.chunks > count) {
        report("--chunks " + std::to_string(options.chunks) + ": the film has " +
               std::to_string(count) + " frames; from 1 to " + std::to_string(count) +
               " ranges can be made of it");
        return EXIT_CODE_CONFIGURATION;
    }
    FarmJob::Plan plan;
    plan.program = ExecutablePath::file().empty() ? "corvane" : ExecutablePath::file();
    plan.scene = configuration.scene;
    plan.shared.push_back(configuration.scene);
    if (!configuration.script.empty())
        plan.shared.push_back(configuration.script);
    // The scene's folder, then the media folders.
    for (auto folder = std::next(configuration.folders.begin());
         folder != configuration.folders.end(); ++folder)
        plan.shared.insert(plan.shared.end(), {"--media", *folder});
    plan.shared.insert(plan.shared.end(),
                       {"--size", std::to_string(film.width) + "x" + std::to_string(film.height),
                        "--fps", std::to_string(film.framesPerSecond), "--quality",
                        std::to_string(film.quality)});
    if (film.statusOverlay)
        plan.shared.insert(plan.shared.end(), {"--overlays", "status"});
    if (!options.sounds.empty())
        plan.shared.insert(plan.shared.end(), {"--sounds", SceneFiles::absolute(options.sounds)});
    if (options.force)
        plan.shared.push_back("--force");
    plan.video = film.format != "png";
    plan.output = film.output;
    // A video's ranges begin on whole seconds, where its encoder starts anew.
    plan.ranges = FrameRange::split(film.first, film.end, options.chunks,
                                    plan.video ? film.framesPerSecond : 1);
    for (std::size_t i = 1; plan.video && i < plan.ranges.size(); ++i)
        if (plan.ranges[i].first % film.framesPerSecond != 0) {
            report("--chunks " + std::to_string(options.chunks) +
                   ": the film has too few whole seconds for ranges that begin on "
                   "them; after a join its frames may decode slightly otherwise than "
                   "in a render in one process");
            break;
        }
    std::cout << FarmJob::text(*options.emit, plan);
    return EXIT_CODE_OK;
}

} // namespace

void RenderCommand::framesOf(double start, double end, std::uint32_t framesPerSecond,
                             std::uint64_t& first, std::uint64_t& past) {
    // Seconds in decimals are not exact in binary: 2.1 s at 30 fps is 62.99999... frames.
    constexpr double SLACK = 1e-6;
    first = static_cast<std::uint64_t>(std::ceil(start * framesPerSecond - SLACK));
    past = static_cast<std::uint64_t>(std::ceil(end * framesPerSecond - SLACK));
}

int RenderCommand::run(const std::vector<std::string>& arguments) {
    RenderOptions options;
    std::string error;
    switch (options.parse(arguments, error)) {
    case RenderOptions::Outcome::USAGE:
        report(error);
        std::cerr << RenderOptions::usage();
        return EXIT_CODE_USAGE;
    case RenderOptions::Outcome::VALUE:
        report(error);
        return EXIT_CODE_CONFIGURATION;
    case RenderOptions::Outcome::OK:
        break;
    }
    if (options.help) {
        std::cout << RenderOptions::usage();
        return EXIT_CODE_OK;
    }

    PlayConfiguration configuration;
    if (!PlayCommand::readFiles(ORIGIN, options.scene, options.keyframes, options.mediaFolders,
                                options.sounds, configuration))
        return EXIT_CODE_CONFIGURATION;

    const double length = scriptLength(configuration.script);
    const double scriptEnd = length > 0.0 ? length : DEFAULT_SECONDS;
    const double start = options.rangeStart.value_or(0.0);
    const double end = options.rangeEnd.value_or(scriptEnd);
    PlayConfiguration::Film film;
    framesOf(start, end, options.framesPerSecond, film.first, film.end);
    if (options.frameRange) {
        const FrameRange& range = *options.frameRange;
        if (range.last >= film.end) {
            report("--frame-range " + std::to_string(range.first) + "-" +
                   std::to_string(range.last) + ": the film has frames 0 to " +
                   std::to_string(film.end - 1) + " (" + DebugOutput::number(scriptEnd) + " s at " +
                   std::to_string(options.framesPerSecond) + " fps)");
            return EXIT_CODE_CONFIGURATION;
        }
        film.first = range.first;
        film.end = range.last + 1;
        film.range = true;
        film.force = options.force;
    }
    if (options.rangeStart && start >= scriptEnd) {
        report("--range " + DebugOutput::number(start) + ":" + DebugOutput::number(end) +
               ": the script ends at " + DebugOutput::number(scriptEnd) +
               " s; the range holds none of it");
        return EXIT_CODE_CONFIGURATION;
    }
    if (film.end <= film.first) {
        report("--range " + DebugOutput::number(start) + ":" + DebugOutput::number(end) +
               ": no frame of " + std::to_string(options.framesPerSecond) +
               " a second begins in it");
        return EXIT_CODE_CONFIGURATION;
    }
    film.format = options.format;
    film.output = SceneFiles::absolute(options.output);
    while (film.output.size() > 1 && film.output.back() == '/')
        film.output.pop_back();
    film.width = options.width;
    film.height = options.height;
    film.framesPerSecond = options.framesPerSecond;
    film.quality = options.quality;
    film.statusOverlay = options.statusOverlay;
    if (options.chunks > 0)
        return emitJob(options, configuration, film);
    if (const std::string why = unwritable(film); !why.empty()) {
        report(why);
        return EXIT_CODE_OUTPUT;
    }
    configuration.film = film;

    // The host's frames are the film's, and one before them that shows the scene before the
    // playback's first frame; the capture ends the run after the last. A range's first
    // frame replays those before it.
    PluginHost::FrameOptions frames;
    frames.fixedStep = 1.0f / static_cast<float>(film.framesPerSecond);
    frames.frames = film.end + 1 - (film.range ? film.first : 0);
    return PlayCommand::runConfiguration(ORIGIN, "rendering", configuration.text(), frames);
}

} // namespace corvane
