#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace corvane {

// One rendered frame of a film: its pixels and its place in the film. Frame N of a script's
// film shows script time N / frames per second, in a range's film as in the whole one.
struct FilmFrame {
    std::uint64_t number = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    // Rows from the top, `rowBytes` apart, of 4 bytes a pixel: red, green, blue, unused.
    std::size_t rowBytes = 0;
    std::vector<std::uint8_t> pixels;

    void resize(std::uint32_t frameWidth, std::uint32_t frameHeight) {
        width = frameWidth;
        height = frameHeight;
        rowBytes = std::size_t(frameWidth) * 4;
        pixels.resize(rowBytes * frameHeight);
    }
};

} // namespace corvane
