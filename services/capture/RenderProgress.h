#pragma once

#include <cstdint>
#include <string>

namespace corvane {

// How far a render has got, on standard error: on a terminal one bar, redrawn in place;
// elsewhere one line a second that a render manager can read,
//   frame 120/900 fps 14.2 eta 55s
// each written whole, in one write. Times are given, never read here.
class RenderProgress {
public:
    RenderProgress(std::uint64_t total, bool terminal, int columns);

    // `done` frames of the total are written `seconds` after the start.
    void update(std::uint64_t done, double seconds);
    // Ends the bar's line, so that what follows has a line of its own.
    void finish();

    static std::string line(std::uint64_t done, std::uint64_t total, double seconds);
    // The bar and its figures, in at most `width` characters.
    static std::string bar(std::uint64_t done, std::uint64_t total, double seconds, int width);

private:
    std::uint64_t total;
    bool terminal;
    int columns;
    double lastShown = -1.0;
    bool barShown = false;
};

} // namespace corvane
