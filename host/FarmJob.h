#pragma once

#include <string>
#include <vector>

#include "host/FrameRange.h"

namespace corvane {

// A film's render as a job for a render farm's own engine: its ranges rendered as tasks of
// their own (`corvane render ... --frame-range A-B`), then, for a video, the segments joined
// (`corvane join`). Only the text of the job is made here: the engine schedules, retries
// and spreads it over its machines.
class FarmJob {
public:
    enum class Engine {
        PARALLEL,   // a shell script running GNU parallel, on this machine or over ssh (-S)
        SLURM,      // a batch script: a job array, then the join depending on it
        KUBERNETES, // an Indexed Job manifest; the join is a job of its own once it completes
    };

    struct Plan {
        std::string program;             // the host program on the farm's machines
        std::vector<std::string> shared; // the render's arguments every range takes, after
                                         // "render", without -o and --frame-range
        std::string output;              // the film, or the folder of PNG files; absolute
        bool video = true;               // segments to join, or PNG files that are the film
        std::vector<FrameRange> ranges;
        std::string scene; // for the job's name and the notes
    };

    // The engine of that name ("parallel", "slurm", "kubernetes"); false for any other.
    static bool engineOf(const std::string& name, Engine& engine);
    // The file a video's range is written to: beside the film, "NAME.000120-000239.EXT".
    static std::string segmentFile(const std::string& output, const FrameRange& range);
    // The job's text.
    static std::string text(Engine engine, const Plan& plan);

    // `word` as one word of a POSIX shell's command line.
    static std::string shellWord(const std::string& word);
};

} // namespace corvane
