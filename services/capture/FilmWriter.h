#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "services/capture/FilmFrame.h"

namespace corvane {

class FilmSink;

// Hands a film's frames and sound to its sink on worker threads, beside the frame loop:
// the loop fills a frame from a small set of buffers and goes on, and waits only when
// every buffer is still queued, that is when the workers are behind. The first failure of
// the sink stops the writing; what is queued after it is dropped.
class FilmWriter {
public:
    explicit FilmWriter(std::unique_ptr<FilmSink> sink);
    ~FilmWriter();
    FilmWriter(const FilmWriter&) = delete;
    FilmWriter& operator=(const FilmWriter&) = delete;

    // Begins the sink and starts its workers, with buffers for frames of that size (0: not
    // known yet; the frames are sized as they are filled). False and `error` set when the
    // sink cannot begin.
    bool begin(std::uint32_t width, std::uint32_t height, std::string& error);
    // A buffer for the next frame; null once the writing has failed.
    std::unique_ptr<FilmFrame> nextFrame();
    // Queues a filled frame for the sink.
    void write(std::unique_ptr<FilmFrame> frame);
    // Queues the next stereo sample frames of the sound track.
    void writeSound(std::vector<float> samples);
    // Waits for the workers to write everything queued, then ends the sink (or, after a
    // failure or without `whole`, closes it unended). False and `error` set when anything
    // failed: the first failure.
    bool end(std::string& error, bool whole = true);

    // The first failure so far; false while there is none.
    bool failed(std::string& error) const;
    // Frames the sink has taken whole.
    std::uint64_t framesWritten() const { return written; }
    const FilmSink& sink() const { return *output; }

private:
    struct Job {
        std::unique_ptr<FilmFrame> frame;
        std::vector<float> sound;
    };

    void work(unsigned worker);
    void fail(const std::string& error);

    std::unique_ptr<FilmSink> output;
    std::vector<std::thread> workers;
    mutable std::mutex lock;
    std::condition_variable jobQueued;
    std::condition_variable bufferFreed;
    std::deque<Job> queue;
    std::vector<std::unique_ptr<FilmFrame>> buffers;
    std::size_t busy = 0; // jobs taken by workers and not yet done
    bool stopping = false;
    std::string failure;
    std::atomic<std::uint64_t> written{0};
};

} // namespace corvane
