#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "services/capture/FilmContainer.h"
#include "services/capture/FilmFormat.h"
#include "services/capture/PictureConverter.h"
#include "services/capture/SoundEncoder.h"

struct AVCodecContext;
struct AVFrame;
struct AVPacket;
struct AVStream;

namespace corvane {

struct FilmFrame;

// A video file written with FFmpeg's libraries, as players and editors expect it: frame N of
// the file presented at N / fps (a time base of 1/fps), colours converted from the rendered
// sRGB to the encoder's YUV with BT.709 coefficients in the video range and tagged so
// (BT.709 primaries and matrix, the sRGB transfer, limited range), and a stereo sound track
// at the track's own rate. Not safe for use from two threads at once. Failures are said in
// `error` as reasons: FFmpeg's ("No space left on device"), or what FFmpeg lacks.
//
// The video encoder starts anew on every whole second of the film (frame numbers that are
// multiples of the rate), with the same settings and threads on every machine, so that
// what it makes of a second depends on that second's frames alone: a range of the film
// rendered on its own from a whole second on decodes as the same frames of the whole film,
// and the ranges' files join without re-encoding. The file records the number of its first
// frame in the film (FilmContainer) for that join.
class VideoFile {
public:
    struct Settings {
        std::string path;
        FilmFormat format = FilmFormat::MP4;
        std::uint32_t width = 0;
        std::uint32_t height = 0;
        std::uint32_t framesPerSecond = 30;
        // 1 (smallest) to 100 (best).
        int quality = 80;
        // Samples per second of the sound track; 0: the file has none.
        std::uint32_t soundRate = 0;
        // The number of the file's first frame in the film.
        std::uint64_t firstFrame = 0;
    };

    VideoFile();
    ~VideoFile();
    VideoFile(const VideoFile&) = delete;
    VideoFile& operator=(const VideoFile&) = delete;

    // Sets up the encoders and begins the file; false and `error` set (an encoder FFmpeg
    // lacks, a file that cannot be made) when it cannot.
    bool open(const Settings& settings, std::string& error);
    // Encodes the next frame; its presentation time is the count of frames before it.
    bool addFrame(const FilmFrame& frame, std::string& error);
    // Encodes the next `frames` stereo sample frames of the sound track (interleaved floats).
    bool addSound(const float* samples, std::size_t frames, std::string& error);
    // Encodes what the encoders hold back, ends the file and closes it; the sound track is
    // cut or filled with silence to the length of the video first.
    bool finish(std::string& error);
    // Closes the file without ending it, after a failure.
    void abandon();

    // Threads of the video encoder, whatever the machine: its output depends on them.
    static constexpr int ENCODER_THREADS = 4;

private:
    // A video encoder for the frames from here to the next whole second; the stream is
    // added with the first.
    bool openVideo(std::string& error);
    void release();

    Settings settings;
    FilmContainer output;
    AVCodecContext* video = nullptr;
    AVStream* videoStream = nullptr;
    PictureConverter pictures;
    SoundEncoder sound;
    AVPacket* packet = nullptr;
    std::uint64_t videoFrames = 0;
};

} // namespace corvane
