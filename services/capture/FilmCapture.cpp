#include "services/capture/FilmCapture.h"

#include <algorithm>
#include <cstdio>
#include <thread>
#include <tinyxml.h>
#include <utility>

#include "framework/IOutputStatus.h"
#include "framework/Identifiers.h"
#include "platform/DebugOutput.h"
#include "platform/Terminal.h"
#include "services/capture/FilmSegment.h"
#include "services/capture/FilmSink.h"
#include "services/capture/FilmWriter.h"
#include "services/capture/PngSequence.h"
#include "services/capture/VideoSink.h"

namespace corvane {

namespace {

const char* const ORIGIN = "FrameCapture";

// One line about a value of the "film" element that cannot be used.
void needs(const TiXmlElement& film, const std::string& what) {
    DebugOutput::line(std::string(ORIGIN) + "::parseEnvironment(): \"film\" (row " +
                      std::to_string(film.Row()) + ") needs " + what);
}

// A whole number from `low` to `high`; false, with one line, when the attribute is absent
// or is no such number.
bool readWhole(const TiXmlElement& film, const char* name, std::uint64_t low, std::uint64_t high,
               std::uint64_t& out) {
    const char* text = film.Attribute(name);
    const std::string value = text != nullptr ? text : "";
    std::uint64_t number = 0;
    bool whole = !value.empty() && value.size() <= 18 &&
                 value.find_first_not_of("0123456789") == std::string::npos;
    if (whole)
        number = std::stoull(value);
    if (!whole || number < low || number > high) {
        needs(film, std::string(name) + " from " + std::to_string(low) + " to " +
                        std::to_string(high) + ", not \"" + value + "\"");
        return false;
    }
    out = number;
    return true;
}

std::string secondsText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof(text), "%.2f s", seconds);
    return text;
}

} // namespace

FilmCapture::FilmCapture() = default;

FilmCapture::~FilmCapture() = default;

bool FilmCapture::configure(const TiXmlElement& film) {
    const char* formatName = film.Attribute("format");
    bool usable = formatName != nullptr && filmFormatFromName(formatName, format);
    if (!usable)
        needs(film, "format \"png\", \"mp4\", \"webm\" or \"mov\"");
    if (const char* path = film.Attribute("output"); path != nullptr && *path != '\0') {
        output = path;
    } else {
        needs(film, "an output");
        usable = false;
    }
    std::uint64_t w = 0, h = 0, fps = 0, q = 0;
    usable = readWhole(film, "width", 2, 16384, w) && usable;
    usable = readWhole(film, "height", 2, 16384, h) && usable;
    usable = readWhole(film, "fps", 1, 1000, fps) && usable;
    usable = readWhole(film, "quality", 1, 100, q) && usable;
    usable = readWhole(film, "first", 0, std::uint64_t(1) << 40, first) && usable;
    usable = readWhole(film, "end", first + 1, std::uint64_t(1) << 40, end) && usable;
    for (const auto& [name, flag] : {std::pair{"range", &range}, std::pair{"force", &force}})
        if (const char* text = film.Attribute(name))
            *flag = std::string(text) == "true";
    last = end;
    width = static_cast<std::uint32_t>(w);
    height = static_cast<std::uint32_t>(h);
    framesPerSecond = static_cast<std::uint32_t>(fps);
    quality = static_cast<int>(q);
    for (const TiXmlElement* overlay = film.FirstChildElement("overlay"); overlay != nullptr;
         overlay = overlay->NextSiblingElement("overlay"))
        if (const char* element = overlay->Attribute("element"))
            overlayElements.emplace_back(element);
    return usable;
}

bool FilmCapture::start() {
    started = std::chrono::steady_clock::now();
    sources.bind(IID_IFrameSource);
    for (IFrameSource* candidate : sources)
        source = candidate;
    if (source == nullptr)
        return fail("::start(): no viewer draws frames off-screen; no film is made");
    if (!source->openTarget(width, height))
        return fail("::start(): the viewer draws no frames of " + std::to_string(width) + "x" +
                    std::to_string(height) + "; no film is made");
    for (const std::string& element : overlayElements)
        source->showOverlayElement(element);
    // The host's first frame shows the scene before the playback's first frame: no frame
    // of the film.
    source->setDrawing(false);

    tracks.bind(IID_ISoundTrack);
    for (ISoundTrack* candidate : tracks)
        if (candidate->getChannelCount() == 2)
            track = candidate;
    if (format == FilmFormat::PNG &&
        !folder.acquire(output, status, range ? first : 0, range ? end - first : 0)) {
        failed = true;
        return false;
    }
    if (range) {
        // The playback's first frame replays the frames before the range.
        hostFrame = first;
        if (findWritten())
            return true;
    }
    std::unique_ptr<FilmSink> sink;
    if (format == FilmFormat::PNG)
        sink = std::make_unique<PngSequence>(output, width, height,
                                             std::thread::hardware_concurrency());
    else
        sink = std::make_unique<VideoSink>(
            VideoFile::Settings{output, format, width, height, framesPerSecond, quality,
                                track != nullptr ? track->getSampleRate() : 0, first});
    writer = std::make_unique<FilmWriter>(std::move(sink));
    std::string error;
    if (!writer->begin(width, height, error)) {
        writer.reset();
        return failOutput("::start(): cannot write " + error);
    }
    const auto written =
        static_cast<std::uint64_t>(std::count(present.begin(), present.end(), true));
    progress.emplace(end - first - written, Terminal::standardErrorIsTerminal(),
                     Terminal::columns());
    return true;
}

bool FilmCapture::findWritten() {
    if (force)
        return false;
    bool complete = false;
    if (format != FilmFormat::PNG) {
        FilmSegment file;
        std::string ignored;
        complete = file.open(output, ignored) && file.firstFrame() == first &&
                   file.frameCount() == end - first && file.width() == width &&
                   file.height() == height && file.framesPerSecond() == framesPerSecond;
    } else {
        for (std::uint64_t frame = first; frame < end; ++frame)
            present.push_back(PngSequence::holds(output, frame, width, height));
        while (last > first && present[last - 1 - first])
            --last;
        complete = last == first;
    }
    if (complete)
        DebugOutput::line(std::string(ORIGIN) + ": frames " + std::to_string(first) + " to " +
                          std::to_string(end - 1) + " are in " + output +
                          " already; nothing is rendered (--force renders them anew)");
    return complete;
}

bool FilmCapture::fail(const std::string& what) {
    DebugOutput::line(std::string(ORIGIN) + what);
    failed = true;
    return false;
}

bool FilmCapture::failOutput(const std::string& what) {
    status = IOutputStatus::OUTPUT_FAILED;
    return fail(what);
}

bool FilmCapture::renderFrame() {
    if (writer == nullptr || failed || ended)
        return false;
    const std::uint64_t frame = hostFrame++;
    // The host's frame N + 1 drew film frame N.
    if (frame > first && frame <= last && !isPresent(frame - 1)) {
        std::unique_ptr<FilmFrame> pixels = writer->nextFrame();
        if (pixels == nullptr || !source->readFrame(pixels->pixels.data(), pixels->rowBytes)) {
            std::string error;
            if (!writer->failed(error))
                return failOutput(": the viewer gave no frame " + std::to_string(frame - 1));
            return failOutput(": cannot write " + error + "; the film stops");
        }
        pixels->number = frame - 1;
        writer->write(std::move(pixels));
    }
    drainSound(frame);
    source->setDrawing(frame >= first && frame < last && !isPresent(frame));
    progress->update(
        writer->framesWritten(),
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
    if (std::string error; writer->failed(error))
        return failOutput(": cannot write " + error + "; the film stops");
    if (frame >= last)
        ended = true;
    return !ended;
}

void FilmCapture::drainSound(std::uint64_t frame) {
    if (track == nullptr)
        return;
    // What the bank mixed in this frame belongs to film frame `frame`. It is taken into one
    // buffer kept from frame to frame, and copied at its size for the writer only when the
    // film holds that frame.
    constexpr std::size_t CHUNK = 4096;
    std::size_t taken = 0;
    samples.clear();
    do {
        const std::size_t before = samples.size();
        samples.resize(before + 2 * CHUNK);
        taken = track->takeSamples(samples.data() + before, CHUNK);
        samples.resize(before + 2 * taken);
    } while (taken == CHUNK);
    if (frame >= first && frame < end && !samples.empty())
        writer->writeSound(samples);
}

void FilmCapture::stop() {
    if (writer == nullptr)
        return;
    std::string error;
    // A range's video cut short is not kept: its name holds only a whole range.
    const bool whole = ended || !range || format == FilmFormat::PNG;
    const bool complete = writer->end(error, whole);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::uint64_t written = writer->framesWritten();
    if (progress) {
        progress->update(written, seconds);
        progress->finish();
    }
    if (!complete) {
        if (!failed)
            failOutput(": cannot write " + error);
        // Nothing is said to be written that is not there whole: a video file that could not
        // be ended is not kept; PNG files are, each whole.
        if (format == FilmFormat::PNG)
            DebugOutput::line(std::string(ORIGIN) + ": " + std::to_string(written) + " of " +
                              std::to_string(end - first) + " frames written to " +
                              writer->sink().name());
        else
            DebugOutput::line(std::string(ORIGIN) + ": no film is written to " + output);
        writer.reset();
        folder.release();
        return;
    }
    // A run cut short by a failure says so: what it leaves is not what was asked for.
    const std::string cut = failed ? " failed after " : " stopped after ";
    const std::uint64_t total = end - first;
    if (!whole) {
        DebugOutput::line(std::string(ORIGIN) + ": the range" + cut + std::to_string(written) +
                          " of " + std::to_string(total) + " frames; no file of it is kept at " +
                          output);
        writer.reset();
        return;
    }
    const auto before =
        static_cast<std::uint64_t>(std::count(present.begin(), present.end(), true));
    const std::uint64_t there = written + before;
    const std::string stopped = there < total ? "the film" + cut + std::to_string(there) + " of " +
                                                    std::to_string(total) + " frames; "
                                              : "";
    const std::string counted = before > 0
                                    ? std::to_string(written) + " frames rendered now and " +
                                          std::to_string(before) + " there already,"
                                    : std::to_string(there) + (there == 1 ? " frame" : " frames");
    DebugOutput::line(std::string(ORIGIN) + ": " + stopped + "wrote " + writer->sink().name() +
                      ": " + counted + " of " + std::to_string(width) + "x" +
                      std::to_string(height) + " at " + std::to_string(framesPerSecond) + " fps (" +
                      DebugOutput::number(static_cast<double>(there) / framesPerSecond) +
                      " s from script time " +
                      DebugOutput::number(static_cast<double>(first) / framesPerSecond) + " s), " +
                      DebugOutput::bytes(writer->sink().bytes()) + ", in " + secondsText(seconds));
    writer.reset();
}

} // namespace corvane
