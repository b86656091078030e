#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvane {

// The host's command line.
struct CommandLine {
    std::string configuration = "corvane.xml"; // --config FILE
    std::optional<float> fixedStep;            // --fixed-step SECONDS: every frame gets this
    std::optional<std::uint64_t> frames;       // --frames N: stop after N frames
    std::vector<std::string> pluginFolders;    // --plugin-dir DIR, searched first
    bool help = false;                         // --help
    bool version = false;                      // --version

    // Reads the arguments after the program name; false and `error` set for an unknown
    // option or a missing or malformed value.
    bool parse(const std::vector<std::string>& arguments, std::string& error);

    static std::string usage();
    // A whole number of decimal digits alone; false when it is none or too large.
    static bool readCount(const std::string& text, std::uint64_t& out);
};

} // namespace corvane
