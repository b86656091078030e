#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "services/capture/FilmFormat.h"

namespace corvane {

class FilmSegment;

// Consecutive segments of a film written as one file: the pictures' packets copied as they
// are, their times moved to the segment's place in the film; the sound decoded, cut to each
// segment's own samples and encoded once for the whole, since separately encoded sound
// cannot be spliced without a gap or a click (each begins with its encoder's priming and
// ends padded to a whole encoder frame).
class FilmJoin {
public:
    // Which file a join that failed is at fault with: a segment that cannot be joined
    // however often it is tried again, or the output, where a new try may go well; or a
    // stop signal (StopSignals) that ended the join before it was whole.
    enum class Fault { NONE, SEGMENT, OUTPUT, STOPPED };

    // Writes `segments` (in the film's order, each matching the first) into `file` in
    // `format`. On failure `error` is "SEGMENT: REASON" for a segment that cannot be read
    // or decoded, and the reason alone for `file`, which the caller names as it knows it.
    static Fault write(const std::vector<FilmSegment>& segments, FilmFormat format,
                       const std::string& file, std::string& error);
};

} // namespace corvane
