#include "tools/join/JoinProgram.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <system_error>

extern "C" {
#include <libavutil/log.h>
}

#include "host/ExitCode.h"
#include "host/SceneFiles.h"
#include "platform/DebugOutput.h"
#include "platform/FileAccess.h"
#include "platform/OutputFile.h"
#include "platform/StopSignals.h"
#include "services/capture/FilmFormat.h"
#include "services/capture/FilmSegment.h"
#include "tools/join/FilmJoin.h"

namespace corvane {

namespace {

namespace fs = std::filesystem;

void report(const std::string& text) {
    DebugOutput::line("corvane join: " + text);
}

// The format of a file by its ending, in any case; false for one the render does not write.
bool formatOf(const std::string& file, FilmFormat& format) {
    std::string ending = fs::path(file).extension().string();
    std::transform(ending.begin(), ending.end(), ending.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ending.size() > 1 && ending != ".png" && filmFormatFromName(ending.substr(1), format);
}

std::string frames(std::uint64_t first, std::uint64_t last) {
    return first == last ? "frame " + std::to_string(first)
                         : "frames " + std::to_string(first) + " to " + std::to_string(last);
}

// "frame 30 is" or "frames 30 to 59 are".
std::string framesAre(std::uint64_t first, std::uint64_t last) {
    return frames(first, last) + (first == last ? " is" : " are");
}

// Checks the segments and puts them in the film's order; false, with one line, when they
// do not make one film.
bool arrange(std::vector<FilmSegment>& segments) {
    std::stable_sort(segments.begin(), segments.end(),
                     [](const auto& a, const auto& b) { return a.firstFrame() < b.firstFrame(); });
    for (std::size_t i = 1; i < segments.size(); ++i) {
        const FilmSegment& before = segments[i - 1];
        const FilmSegment& segment = segments[i];
        std::string difference;
        if (!segments.front().matches(segment, difference)) {
            report(segment.file() + " does not match " + segments.front().file() + ": it has " +
                   difference);
            return false;
        }
        if (segment.firstFrame() > before.lastFrame() + 1) {
            report(framesAre(before.lastFrame() + 1, segment.firstFrame() - 1) +
                   " in no segment: " + before.file() + " ends at frame " +
                   std::to_string(before.lastFrame()) + ", " + segment.file() + " begins at " +
                   std::to_string(segment.firstFrame()));
            return false;
        }
        if (segment.firstFrame() <= before.lastFrame()) {
            report(
                framesAre(segment.firstFrame(), std::min(before.lastFrame(), segment.lastFrame())) +
                " in both " + before.file() + " and " + segment.file());
            return false;
        }
    }
    return true;
}

} // namespace

int JoinProgram::run(const std::vector<std::string>& arguments) {
    // FFmpeg's own log would add lines of its own; what fails is said once, here.
    av_log_set_level(AV_LOG_QUIET);
    if (std::find(arguments.begin(), arguments.end(), "--help") != arguments.end() ||
        std::find(arguments.begin(), arguments.end(), "-h") != arguments.end()) {
        std::cout << usage();
        return EXIT_CODE_OK;
    }
    if (arguments.size() < 2) {
        report("needs the output and at least one segment");
        std::cerr << usage();
        return EXIT_CODE_USAGE;
    }
    const std::string output = SceneFiles::absolute(arguments.front());
    FilmFormat format = FilmFormat::MP4;
    if (!formatOf(output, format)) {
        report(arguments.front() + ": the ending \"" + fs::path(output).extension().string() +
               "\" is none of the films it joins: .mp4, .webm or .mov (the PNG files of ranges "
               "are the film's frames already)");
        return EXIT_CODE_CONFIGURATION;
    }
    std::vector<FilmSegment> segments;
    for (auto argument = arguments.begin() + 1; argument != arguments.end(); ++argument) {
        FilmFormat segmentFormat = FilmFormat::PNG;
        if (!formatOf(*argument, segmentFormat) || segmentFormat != format) {
            report(*argument + " is no ." + filmFormatName(format) + " file like " +
                   arguments.front());
            return EXIT_CODE_CONFIGURATION;
        }
        FilmSegment segment;
        std::string error;
        if (!segment.open(*argument, error)) {
            report(*argument + ": " + error);
            return EXIT_CODE_CONFIGURATION;
        }
        if (SceneFiles::absolute(*argument) == output) {
            report(*argument + " is both the output and a segment");
            return EXIT_CODE_CONFIGURATION;
        }
        segments.push_back(std::move(segment));
    }
    if (!arrange(segments))
        return EXIT_CODE_CONFIGURATION;

    const fs::path target(output);
    if (const std::string why = FileAccess::whyNotWritable(target.parent_path().string());
        !why.empty()) {
        report(target.parent_path().string() + ": " + why);
        return EXIT_CODE_OUTPUT;
    }
    const fs::path temporary = OutputFile::temporaryName(output);
    std::string error;
    std::error_code failure;
    FilmJoin::Fault fault = FilmJoin::write(segments, format, temporary.string(), error);
    // A read or write that the signal cut short is no fault of the files.
    if (fault != FilmJoin::Fault::NONE && StopSignals::received() != 0)
        fault = FilmJoin::Fault::STOPPED;
    if (fault != FilmJoin::Fault::NONE) {
        fs::remove(temporary, failure);
        if (fault == FilmJoin::Fault::STOPPED) {
            report("stopped on signal " + std::to_string(StopSignals::received()) +
                   "; nothing is written to " + output);
            return 128 + StopSignals::received();
        }
        if (fault == FilmJoin::Fault::SEGMENT) {
            report(error);
            return EXIT_CODE_CONFIGURATION;
        }
        // The temporary name is the join's own business: the user asked for `output`.
        report("cannot write " + output + ": " + error);
        return EXIT_CODE_OUTPUT;
    }
    fs::rename(temporary, target, failure);
    if (failure) {
        fs::remove(temporary, failure);
        report("cannot write " + output + ": " + failure.message());
        return EXIT_CODE_OUTPUT;
    }
    const FilmSegment& head = segments.front();
    const FilmSegment& tail = segments.back();
    report("wrote " + output + ": " + frames(head.firstFrame(), tail.lastFrame()) + " at " +
           std::to_string(head.framesPerSecond()) + " fps from " + std::to_string(segments.size()) +
           " segments, " + DebugOutput::bytes(fs::file_size(target, failure)));
    return EXIT_CODE_OK;
}

std::string JoinProgram::usage() {
    return "Usage: corvane join OUTPUT SEGMENT...\n"
           "\n"
           "Joins the video files of consecutive frame ranges of one film, as\n"
           "`corvane render --frame-range A-B` writes them, into OUTPUT (.mp4, .webm or .mov,\n"
           "as the segments are). The pictures are copied as they are; the sound is decoded\n"
           "and encoded once for the whole, so that it runs on without a gap or a click.\n"
           "The segments may be given in any order. They must hold every frame from the\n"
           "first to the last exactly once, at one size, rate and coding.\n"
           "\n"
           "Exit status: 0 the film is written, 1 bad command line, 2 segments that cannot\n"
           "be joined or read (nothing is written), 3 corvane-join cannot be found or run,\n"
           "6 the output cannot be written, 128 + N stopped by signal N (nothing is written\n"
           "under OUTPUT's name).\n";
}

} // namespace corvane
