#include "services/capture/FilmWriter.h"

#include <algorithm>

#include "services/capture/FilmSink.h"

namespace corvane {

namespace {

// Frames queued ahead of the workers besides one for each of them: enough to ride out a
// slow frame, few enough that a large film's buffers stay within a few hundred megabytes.
constexpr std::size_t FRAMES_AHEAD = 3;
constexpr std::size_t MOST_BUFFER_BYTES = std::size_t(512) << 20;

} // namespace

FilmWriter::FilmWriter(std::unique_ptr<FilmSink> sink) : output(std::move(sink)) {}

FilmWriter::~FilmWriter() {
    std::string ignored;
    end(ignored);
}

bool FilmWriter::begin(std::uint32_t width, std::uint32_t height, std::string& error) {
    if (!output->begin(error))
        return false;
    const unsigned count = std::max(1u, output->workers());
    const std::size_t frameBytes = std::max<std::size_t>(1, std::size_t(width) * height * 4);
    const std::size_t wanted = count + FRAMES_AHEAD;
    const std::size_t fitting = std::max<std::size_t>(count + 1, MOST_BUFFER_BYTES / frameBytes);
    for (std::size_t i = 0; i < std::min(wanted, fitting); ++i) {
        buffers.push_back(std::make_unique<FilmFrame>());
        buffers.back()->resize(width, height);
    }
    for (unsigned worker = 0; worker < count; ++worker)
        workers.emplace_back([this, worker] { work(worker); });
    return true;
}

std::unique_ptr<FilmFrame> FilmWriter::nextFrame() {
    std::unique_lock<std::mutex> guard(lock);
    bufferFreed.wait(guard, [this] { return !buffers.empty() || !failure.empty(); });
    if (!failure.empty())
        return nullptr;
    std::unique_ptr<FilmFrame> frame = std::move(buffers.back());
    buffers.pop_back();
    return frame;
}

void FilmWriter::write(std::unique_ptr<FilmFrame> frame) {
    {
        const std::lock_guard<std::mutex> guard(lock);
        queue.push_back({std::move(frame), {}});
    }
    jobQueued.notify_one();
}

void FilmWriter::writeSound(std::vector<float> samples) {
    {
        const std::lock_guard<std::mutex> guard(lock);
        queue.push_back({nullptr, std::move(samples)});
    }
    jobQueued.notify_one();
}

void FilmWriter::work(unsigned worker) {
    std::unique_lock<std::mutex> guard(lock);
    while (true) {
        jobQueued.wait(guard, [this] { return !queue.empty() || stopping; });
        if (queue.empty())
            return;
        Job job = std::move(queue.front());
        queue.pop_front();
        const bool writing = failure.empty();
        ++busy;
        guard.unlock();
        std::string error;
        bool done = true;
        if (writing && job.frame)
            done = output->writeFrame(worker, *job.frame, error);
        else if (writing)
            done = output->writeSound(job.sound.data(), job.sound.size() / 2, error);
        guard.lock();
        --busy;
        if (!done && failure.empty())
            failure = error;
        if (done && writing && job.frame)
            ++written;
        if (job.frame)
            buffers.push_back(std::move(job.frame));
        bufferFreed.notify_all();
        // end() waits for the queue to run dry.
        jobQueued.notify_all();
    }
}

bool FilmWriter::failed(std::string& error) const {
    const std::lock_guard<std::mutex> guard(lock);
    if (failure.empty())
        return false;
    error = failure;
    return true;
}

bool FilmWriter::end(std::string& error, bool whole) {
    if (workers.empty())
        return true;
    {
        std::unique_lock<std::mutex> guard(lock);
        jobQueued.wait(guard, [this] { return queue.empty() && busy == 0; });
        stopping = true;
    }
    jobQueued.notify_all();
    for (std::thread& worker : workers)
        worker.join();
    workers.clear();
    std::string ending;
    const bool complete = failure.empty() && whole;
    if (!output->end(complete, ending) && complete)
        failure = ending;
    if (failure.empty())
        return true;
    error = failure;
    return false;
}

} // namespace corvane
