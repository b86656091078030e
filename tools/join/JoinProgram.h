#pragma once

#include <string>
#include <vector>

namespace corvane {

// `corvane join OUTPUT SEGMENT...`: the video files of consecutive ranges of one film, as
// `corvane render --frame-range` writes them, made into one file without encoding the
// pictures again. The segments may come in any order; they must together hold every frame
// from the first's to the last's once, in one size, rate and coding. The file is written
// under a hidden temporary name beside it and takes its name once whole.
class JoinProgram {
public:
    // Runs with the arguments after "join"; returns the exit status: 0 written, 1 a command
    // line it cannot read, 2 segments that cannot be joined or read (nothing is written), 6
    // the output cannot be written. (3 and 128 + N come from the host and from signals.)
    static int run(const std::vector<std::string>& arguments);

    static std::string usage();
};

} // namespace corvane
