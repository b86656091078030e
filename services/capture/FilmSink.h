#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace corvane {

struct FilmFrame;

// Where a film's frames and sound go: a video file, or a folder of PNG files. The film's
// writer calls it from its worker threads: writeFrame from up to workers() threads at
// once (each with its own number), in the frames' order when that is 1; writeSound only
// when that is 1, in order with the frames.
class FilmSink {
public:
    virtual ~FilmSink() = default;

    // Threads that may write frames at once.
    virtual unsigned workers() const = 0;
    // Begins the output. Failures here and below set `error` to "FILE: REASON", naming the
    // file that could not be written and the reason in the system's words.
    virtual bool begin(std::string& error) = 0;
    virtual bool writeFrame(unsigned worker, const FilmFrame& frame, std::string& error) = 0;
    // The next `frames` stereo sample frames of the sound track, interleaved floats.
    virtual bool writeSound(const float* samples, std::size_t frames, std::string& error) = 0;
    // Ends the output with what was written; after a failure `complete` is false, and the
    // output is closed without being ended. False and `error` set when ending fails.
    virtual bool end(bool complete, std::string& error) = 0;
    // Bytes written so far (once ended: all of them).
    virtual std::uint64_t bytes() const = 0;
    // What the output is, for the lines about it: a file, or a folder.
    virtual std::string name() const = 0;
};

} // namespace corvane
