#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "services/capture/FilmFormat.h"

struct AVAudioFifo;
struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVStream;
struct SwrContext;

namespace corvane {

// A film's stereo sound track, encoded into a stream of its container as the format wants
// it (AAC in MP4, Opus in WebM, 16-bit PCM in QuickTime): samples come in any number at a
// time and leave in the encoder's frames, each stamped with the count of samples before it.
class SoundEncoder {
public:
    SoundEncoder() = default;
    ~SoundEncoder();
    SoundEncoder(const SoundEncoder&) = delete;
    SoundEncoder& operator=(const SoundEncoder&) = delete;

    // Adds the stream to `container`, before its header is written, at `rate` samples a
    // second. False and `error` set when FFmpeg lacks the encoder or it does not start.
    bool open(AVFormatContext* container, FilmFormat format, std::uint32_t rate,
              std::string& error);
    // Encodes the next `frames` stereo sample frames (interleaved floats).
    bool add(const float* samples, std::size_t frames, std::string& error);
    // Fills the track with silence up to `total` sample frames, when it has fewer.
    bool fill(std::uint64_t total, std::string& error);
    // Cuts the track, or fills it with silence, to `total` sample frames, encodes what is
    // held back and ends the stream.
    bool finish(std::uint64_t total, std::string& error);
    // Sample frames given to the track so far, silence included.
    std::uint64_t samplesAdded() const { return samplesIn; }
    void release();

private:
    // Encodes whole encoder frames of the samples held back; with `all`, the rest too.
    bool drain(bool all, std::string& error);

    AVFormatContext* container = nullptr;
    AVCodecContext* sound = nullptr;
    AVStream* stream = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    SwrContext* resampler = nullptr;
    AVAudioFifo* held = nullptr;
    // One encoder frame's samples on their way from `held` to the resampler.
    std::vector<float> chunk;
    std::uint64_t samplesOut = 0; // given to the encoder
    std::uint64_t samplesIn = 0;  // given to this track
};

} // namespace corvane
