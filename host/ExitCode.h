#pragma once

namespace corvane {

// The host's exit statuses, as documented in its --help and the README.
enum ExitCode : int {
    EXIT_CODE_OK = 0,               // a plug-in asked to stop, or the frame count was reached
    EXIT_CODE_USAGE = 1,            // the command line could not be understood
    EXIT_CODE_CONFIGURATION = 2,    // the host configuration is missing or malformed
    EXIT_CODE_PLUGIN_LOAD = 3,      // a plug-in library cannot be opened or lacks an export, or a
                                    // subcommand's tool cannot be run
    EXIT_CODE_PLUGIN_START = 4,     // a plug-in did not start
    EXIT_CODE_PLUGIN_EXCEPTION = 5, // a plug-in call ended with an exception
    EXIT_CODE_OUTPUT = 6,           // the output could not be written
    EXIT_CODE_DISPLAY_LOST = 7,     // the display went away
    EXIT_CODE_SIGNAL_BASE = 128,    // plus the number of the signal that stopped the run
};

} // namespace corvane
