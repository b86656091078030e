#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "services/capture/FilmSink.h"

namespace corvane {

class PngEncoder;

// A film as numbered PNG files in a folder: frame N is frame_NNNNNN.png (six digits or
// more), so that a range's frames carry the names they have in the whole film. Frames are
// compressed on several threads at once, each with its own encoder, and each file is
// written whole under a temporary name before it takes its own (OutputFile), so that no
// name ever holds part of a frame. Frames may change their size (a window's do).
class PngSequence final : public FilmSink {
public:
    // Frames of `width` x `height` are expected (0: unknown yet).
    PngSequence(std::string folder, std::uint32_t width, std::uint32_t height, unsigned threads);
    ~PngSequence() override;

    unsigned workers() const override { return threads; }
    bool begin(std::string& error) override;
    bool writeFrame(unsigned worker, const FilmFrame& frame, std::string& error) override;
    // A PNG sequence has no sound track.
    bool writeSound(const float*, std::size_t, std::string&) override { return true; }
    bool end(bool complete, std::string& error) override;
    std::uint64_t bytes() const override { return written; }
    std::string name() const override;

    // The file of frame `number` in the folder.
    static std::string fileName(std::uint64_t number);

private:
    std::string folder;
    std::uint32_t width;
    std::uint32_t height;
    unsigned threads;
    std::vector<std::unique_ptr<PngEncoder>> encoders;
    std::atomic<std::uint64_t> written{0};
};

} // namespace corvane
