#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/IFrameSource.h"
#include "framework/ISoundTrack.h"
#include "framework/ProviderList.h"
#include "services/capture/CaptureFolder.h"
#include "services/capture/FilmFormat.h"
#include "services/capture/RenderProgress.h"

class TiXmlElement;

namespace corvane {

class FilmWriter;

// The frame capture making a film: frames drawn off-screen by the viewer (IFrameSource) at
// the film's size, and the sound bank's offline mix (ISoundTrack) when one is served,
// written by a FilmWriter as a video file or a PNG sequence.
//
//   <film format="mp4|webm|mov|png" output="PATH" width="1280" height="720" fps="30"
//         first="0" end="300" quality="80" range="false" force="false">
//     <overlay element="ZORV/StatusText"/> ...   overlay elements drawn on the frames
//   </film>
//
// The host's frames are 1/fps s each. Film frame N shows script time N/fps: the scene as the
// host's frame N + 1 draws it, after the playback's frame N, whose sounds the sound bank
// mixes into film frame N's samples. Frames first to end - 1 are written; the frames
// before are run without being drawn, so that the first comes out as in the whole film.
// The run ends after the last.
//
// With range="true" the film is a render farm's range of a longer one: the playback starts
// with the frames before `first` replayed (its <start frames="first"/>), so the host's first
// frame is the film's frame first - 1. Frames already written whole are not made again:
// PNG files of the film's size (their folder is locked only for these frames, so that the
// ranges of one film write into it side by side), or a video file that holds this range;
// force="true" makes them anew. A video cut short is not kept: its name holds only a whole
// range.
class FilmCapture {
public:
    FilmCapture();
    ~FilmCapture();

    // Reads the "film" element; false, with one line each, for a value that cannot be used.
    bool configure(const TiXmlElement& film);
    bool start();
    // False once the film is complete or cannot be written (said in one line).
    bool renderFrame();
    // Ends the output with what was written, and says what that is, or why nothing is.
    void stop();

    // What became of the output, as IOutputStatus tells the host.
    std::int32_t outputStatus() const { return status; }

private:
    // One line, "FrameCapture" followed by `what` ("::start(): ..." or ": ...").
    bool fail(const std::string& what);
    // A failure of the output itself: the host's exit status says so.
    bool failOutput(const std::string& what);
    void drainSound(std::uint64_t frame);
    // Of a range: what is written already; true when that is all of it.
    bool findWritten();
    bool isPresent(std::uint64_t frame) const {
        return frame >= first && frame < end && !present.empty() && present[frame - first];
    }

    FilmFormat format = FilmFormat::MP4;
    std::string output;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t framesPerSecond = 30;
    std::uint64_t first = 0;
    std::uint64_t end = 0;
    int quality = 80;
    bool range = false;
    bool force = false;
    // Of a range: the frames first to end - 1 that are written already, and the frame past
    // the last that is not.
    std::vector<bool> present;
    std::uint64_t last = 0;
    std::vector<std::string> overlayElements;

    ProviderList<IFrameSource> sources;
    IFrameSource* source = nullptr;
    ProviderList<ISoundTrack> tracks;
    ISoundTrack* track = nullptr;
    CaptureFolder folder;
    std::unique_ptr<FilmWriter> writer;
    std::optional<RenderProgress> progress;
    std::chrono::steady_clock::time_point started;
    std::uint64_t hostFrame = 0;
    // The sound bank's samples of the frame being drawn.
    std::vector<float> samples;
    bool failed = false;
    bool ended = false;
    std::int32_t status = 0;
};

} // namespace corvane
