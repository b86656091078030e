#include "host/RenderOptions.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "host/CommandLine.h"
#include "host/SceneArguments.h"

namespace corvane {

namespace {

// A whole number from `low` to `high`, nothing else.
bool readWhole(const std::string& text, std::uint64_t low, std::uint64_t high, std::uint64_t& out) {
    std::uint64_t value = 0;
    if (!CommandLine::readCount(text, value) || value < low || value > high)
        return false;
    out = value;
    return true;
}

// Seconds of 0 or more, in decimals, nothing else.
bool readSeconds(const std::string& text, double& out) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text.front())))
        return false;
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || errno != 0 || !std::isfinite(value) || value < 0.0)
        return false;
    out = value;
    return true;
}

} // namespace

bool RenderOptions::formatOf(const std::string& output, std::string& format) {
    namespace fs = std::filesystem;
    std::error_code ignored;
    const std::string ending = fs::path(output).extension().string();
    if (output.back() == '/' || fs::is_directory(output, ignored) || ending.empty()) {
        format = "png";
        return true;
    }
    std::string lower = ending.substr(1);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower != "mp4" && lower != "webm" && lower != "mov")
        return false;
    format = lower;
    return true;
}

RenderOptions::Outcome RenderOptions::parse(const std::vector<std::string>& arguments,
                                            std::string& error) {
    SceneArguments read({"--force"},
                        {"--output", "--media", "--size", "--fps", "--range", "--overlays",
                         "--quality", "--sounds", "--frame-range", "--chunks", "--emit"},
                        {{"-o", "--output"}});
    if (!read.read(arguments, error))
        return Outcome::USAGE;
    help = read.has("--help");
    force = read.has("--force");
    if (help)
        return Outcome::OK;
    if (!read.sceneAndScript(scene, keyframes, error))
        return Outcome::USAGE;
    for (const auto& [option, value] : read.values()) {
        std::uint64_t number = 0;
        if (option == "--media") {
            mediaFolders.push_back(value);
        } else if (option == "--output") {
            output = value;
        } else if (option == "--sounds") {
            sounds = value;
        } else if (option == "--size") {
            const std::size_t x = value.find('x');
            std::uint64_t w = 0;
            std::uint64_t h = 0;
            if (x == std::string::npos || !readWhole(value.substr(0, x), 2, LARGEST_SIDE, w) ||
                !readWhole(value.substr(x + 1), 2, LARGEST_SIDE, h)) {
                error = "--size needs WIDTHxHEIGHT, each from 2 to " +
                        std::to_string(LARGEST_SIDE) + " pixels, not \"" + value + "\"";
                return Outcome::VALUE;
            }
            width = static_cast<std::uint32_t>(w);
            height = static_cast<std::uint32_t>(h);
        } else if (option == "--fps") {
            if (!readWhole(value, 1, MOST_FRAMES_PER_SECOND, number)) {
                error = "--fps needs a whole number of frames a second from 1 to " +
                        std::to_string(MOST_FRAMES_PER_SECOND) + ", not \"" + value + "\"";
                return Outcome::VALUE;
            }
            framesPerSecond = static_cast<std::uint32_t>(number);
        } else if (option == "--quality") {
            if (!readWhole(value, 1, 100, number)) {
                error = "--quality needs a whole number from 1 to 100, not \"" + value + "\"";
                return Outcome::VALUE;
            }
            quality = static_cast<int>(number);
        } else if (option == "--overlays") {
            if (value != "none" && value != "status") {
                error = "--overlays needs \"none\" or \"status\", not \"" + value + "\"";
                return Outcome::VALUE;
            }
            statusOverlay = value == "status";
        } else if (option == "--frame-range") {
            FrameRange range;
            if (!FrameRange::parse(value, range)) {
                error = "--frame-range needs FIRST-LAST, frame numbers of the whole film with "
                        "FIRST at most LAST, not \"" +
                        value + "\"";
                return Outcome::VALUE;
            }
            frameRange = range;
        } else if (option == "--chunks") {
            if (!readWhole(value, 1, std::uint64_t(1) << 40, chunks)) {
                error = "--chunks needs a whole number of ranges from 1 up, not \"" + value + "\"";
                return Outcome::VALUE;
            }
        } else if (option == "--emit") {
            FarmJob::Engine engine = FarmJob::Engine::PARALLEL;
            if (!FarmJob::engineOf(value, engine)) {
                error =
                    "--emit needs \"parallel\", \"slurm\" or \"kubernetes\", not \"" + value + "\"";
                return Outcome::VALUE;
            }
            emit = engine;
        } else if (option == "--range") {
            const std::size_t colon = value.find(':');
            double start = 0.0;
            double end = 0.0;
            const std::string startText = value.substr(0, colon);
            const std::string endText = colon == std::string::npos ? "" : value.substr(colon + 1);
            if (colon == std::string::npos ||
                (!startText.empty() && !readSeconds(startText, start)) ||
                (!endText.empty() && !readSeconds(endText, end)) ||
                (!endText.empty() && end <= start)) {
                error = "--range needs START:END, seconds of script time with START below END, "
                        "not \"" +
                        value + "\"";
                return Outcome::VALUE;
            }
            rangeStart = start;
            if (!endText.empty())
                rangeEnd = end;
        }
    }
    if ((chunks > 0) != emit.has_value()) {
        error = "--chunks and --emit go together: --chunks N --emit parallel|slurm|kubernetes";
        return Outcome::USAGE;
    }
    if (frameRange && (rangeStart || chunks > 0)) {
        error = std::string("--frame-range is one range of the whole film; it goes with neither ") +
                "--range nor --chunks";
        return Outcome::USAGE;
    }
    if (output.empty()) {
        error = "an output is needed: -o FILE.mp4, FILE.webm, FILE.mov or a FOLDER/";
        return Outcome::USAGE;
    }
    if (!formatOf(output, format)) {
        error = output + ": the ending \"" + std::filesystem::path(output).extension().string() +
                "\" is none the render writes: .mp4, .webm, .mov, or a folder for PNG files";
        return Outcome::VALUE;
    }
    // FFmpeg takes no picture whose size with a margin of 128 pixels each way reaches
    // INT_MAX / 8 bytes (its image size check, for every encoder and the PNG one too); a
    // square of 16384 is past it, one of 16254 within.
    if ((std::uint64_t(width) + 128) * (std::uint64_t(height) + 128) >= LARGEST_PICTURE) {
        error = "--size " + std::to_string(width) + "x" + std::to_string(height) +
                ": FFmpeg's encoders take no picture this large; (WIDTH + 128) x (HEIGHT + 128) "
                "must stay below " +
                std::to_string(LARGEST_PICTURE) + ", as 16254x16254 does";
        return Outcome::VALUE;
    }
    // 4:2:0 and 4:2:2 pictures are made of pairs of pixels.
    if (format != "png" && (width % 2 != 0 || (format != "mov" && height % 2 != 0))) {
        error = "--size " + std::to_string(width) + "x" + std::to_string(height) + ": a ." +
                format + " film needs an even " + (width % 2 != 0 ? "width" : "height");
        return Outcome::VALUE;
    }
    return Outcome::OK;
}

std::string RenderOptions::usage() {
    return "Usage: corvane render SCENE [KEYFRAMES] -o OUTPUT [--media DIR]... [--size WxH]\n"
           "                      [--fps N] [--range START:END] [--overlays none|status]\n"
           "                      [--quality Q] [--sounds FILE] [--frame-range A-B [--force]]\n"
           "                      [--chunks N --emit parallel|slurm|kubernetes]\n"
           "\n"
           "Renders a scene and its script to a film with its sound, off-screen, at any size:\n"
           "frame N shows script time N / fps. Scene, script and media are found as\n"
           "`corvane play` finds them, and so are the script's sounds: a sound's name is a\n"
           ".wav, .ogg or .flac file of that name in the scene's folders or the media folders.\n"
           "\n"
           "  -o, --output OUTPUT  FILE.mp4 (H.264, AAC), FILE.webm (VP9, Opus), FILE.mov\n"
           "                       (ProRes 422, PCM), or a folder (ending in /, existing, or\n"
           "                       without an ending) for frame_000000.png, ...\n"
           "  --media DIR          another folder of meshes, materials, textures and sounds\n"
           "  --size WxH           the frames' size (default 1280x720)\n"
           "  --fps N              frames a second (default 30)\n"
           "  --range START:END    only the frames of script time START <= t < END, seconds\n"
           "                       (default: the whole script, or 10 s without keyframes)\n"
           "  --overlays status    the status line and time bar on the frames (default none)\n"
           "  --quality Q          1 (smallest) to 100 (best), default 80\n"
           "  --sounds FILE        the sounds of the Sound plug-in of a host configuration\n"
           "  --frame-range A-B    only frames A to B of the whole film, for a render farm:\n"
           "                       it starts with a seek to frame A; frames written whole\n"
           "                       already are not made again, and a video cut short is not\n"
           "                       kept (join the videos with `corvane join`)\n"
           "  --force              make a range's frames again, also those written already\n"
           "  --chunks N --emit parallel|slurm|kubernetes\n"
           "                       render nothing; write to standard output a job that renders\n"
           "                       the film in N ranges on that engine, then joins them\n"
           "  --help               show this text\n"
           "\n"
           "Progress goes to standard error: a bar on a terminal, else a line a second\n"
           "(frame 120/900 fps 14.2 eta 55s). Exit status: 0 the film is written, 1 bad\n"
           "command line, 2 a scene, script, folder or value that cannot be used, 3 the\n"
           "plug-ins cannot be set up, 4 a plug-in did not start, 5 a plug-in call threw,\n"
           "6 the output could not be written, 7 the display went away, 128 + N stopped\n"
           "by signal N (what was written so far is kept, and plays; of a --frame-range\n"
           "video, nothing).\n";
}

} // namespace corvane
