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
    // Frames of `width` x `height` are expected (0: unknown yet), compressed on `processors`
    // processors.
    PngSequence(std::string folder, std::uint32_t width, std::uint32_t height, unsigned processors);
    ~PngSequence() override;

    // One more than the processors: while one waits for its file to reach the disk, the
    // others keep every processor compressing (on two processors, a fifth more frames a
    // second than one each).
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
    // Whether the folder holds frame `number` as a PNG file of `width` x `height`: a file
    // under a frame's name is whole, as it takes its name only then.
    static bool holds(const std::string& folder, std::uint64_t number, std::uint32_t width,
                      std::uint32_t height);

private:
    std::string folder;
    std::uint32_t width;
    std::uint32_t height;
    unsigned threads;
    std::vector<std::unique_ptr<PngEncoder>> encoders;
    std::atomic<std::uint64_t> written{0};
};

} // namespace corvane
