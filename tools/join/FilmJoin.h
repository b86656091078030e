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
    // Writes `segments` (in the film's order, each matching the first) into `file` in
    // `format`. False and `error` set to "FILE: REASON" for the file that failed.
    static bool write(const std::vector<FilmSegment>& segments, FilmFormat format,
                      const std::string& file, std::string& error);
};

} // namespace corvane
