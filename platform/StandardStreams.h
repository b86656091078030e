#pragma once

namespace corvane {

// Standard input, output and error as a run may find them: closed (`2>&-`), or a pipe
// whose reader went away (`| head -n 3`). Neither may end a run, and a file the run opens
// must never take the number of a closed standard stream, where every diagnostic line
// would be written into it.
class StandardStreams {
public:
    // Opens /dev/null on each standard stream that is closed, and ignores SIGPIPE, so that a
    // write to a pipe without a reader fails (and is dropped) instead of ending the process.
    static void secure();
};

} // namespace corvane
