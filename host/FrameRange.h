#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvane {

// An inclusive range of a film's frames, numbered as in the whole film (frame N shows script
// time N / fps), as a render farm hands it to one task.
struct FrameRange {
    std::uint64_t first = 0;
    std::uint64_t last = 0;

    std::uint64_t count() const { return last - first + 1; }
    // "000120-000239": the range as --frame-range reads it and as segment files are named,
    // so that names sort in the film's order.
    std::string label() const;

    // Reads "A-B" (whole numbers, A <= B); false for anything else.
    static bool parse(const std::string& text, FrameRange& out);
    // Frames `first` to `past` - 1 in `count` ranges of nearly one length, in order. With
    // `group` above 1 the ranges begin on multiples of `group` where every range can still
    // hold a frame, so that a video's ranges begin where its encoder starts anew. `count`
    // from 1 to the number of frames.
    static std::vector<FrameRange> split(std::uint64_t first, std::uint64_t past,
                                         std::uint64_t count, std::uint64_t group);
};

} // namespace corvane
