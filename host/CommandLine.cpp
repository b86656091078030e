#include "host/CommandLine.h"

#include <cerrno>
#include <cstdlib>

#include "platform/DebugOutput.h"

namespace corvane {

namespace {

// A frame's step: long enough that a float clock still moves by it over hours of frames,
// short enough that one frame does not jump over a script's keyframes wholesale.
constexpr double SHORTEST_STEP = 1e-6;
constexpr double LONGEST_STEP = 10.0;

bool readSeconds(const std::string& text, float& out) {
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || errno != 0 || !(value >= SHORTEST_STEP) ||
        !(value <= LONGEST_STEP))
        return false;
    out = static_cast<float>(value);
    return true;
}

} // namespace

bool CommandLine::readCount(const std::string& text, std::uint64_t& out) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    char* end = nullptr;
    errno = 0;
    const unsigned long long value = std::strtoull(text.c_str(), &end, 10);
    if (errno != 0)
        return false;
    out = value;
    return true;
}

bool CommandLine::parse(const std::vector<std::string>& arguments, std::string& error) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (option == "--help" || option == "-h") {
            help = true;
            continue;
        }
        if (option == "--version") {
            version = true;
            continue;
        }
        if (option != "--config" && option != "--fixed-step" && option != "--frames" &&
            option != "--plugin-dir") {
            error = "unknown option \"" + option + "\"";
            return false;
        }
        if (i + 1 >= arguments.size()) {
            error = option + " needs a value";
            return false;
        }
        const std::string& value = arguments[++i];
        if (option == "--config") {
            configuration = value;
        } else if (option == "--plugin-dir") {
            pluginFolders.push_back(value);
        } else if (option == "--fixed-step") {
            float seconds = 0.0f;
            if (!readSeconds(value, seconds)) {
                // Written out as --help writes it, not as "1e-06".
                error = "--fixed-step needs seconds from 0.000001 to " +
                        DebugOutput::number(LONGEST_STEP) + ", not \"" + value + "\"";
                return false;
            }
            fixedStep = seconds;
        } else {
            std::uint64_t count = 0;
            if (!readCount(value, count)) {
                error = "--frames needs a whole number, not \"" + value + "\"";
                return false;
            }
            frames = count;
        }
    }
    return true;
}

std::string CommandLine::usage() {
    return "Usage: corvane [--config FILE] [--fixed-step SECONDS] [--frames N] [--plugin-dir DIR]\n"
           "\n"
           "Loads the plug-ins that the host configuration lists, hands each its environment,\n"
           "starts them and calls every plug-in once per frame until one asks to stop.\n"
           "\n"
           "  --config FILE        host configuration (default: corvane.xml in the current "
           "folder)\n"
           "  --fixed-step SECONDS give every frame this elapsed time instead of the real one\n"
           "                       (from 0.000001 to 10)\n"
           "  --frames N           stop after N frames\n"
           "  --plugin-dir DIR     look for plug-ins named without a path here first\n"
           "  --help               show this text\n"
           "  --version            show the version\n"
           "\n"
           "Exit status: 0 the run ended, 1 bad command line, 2 bad configuration,\n"
           "3 a plug-in (or a subcommand's tool) cannot be loaded, 4 a plug-in did not start,\n"
           "5 a plug-in call threw, 6 the output could not be written, 7 the display went\n"
           "away, 128 + N stopped by signal N.\n";
}

} // namespace corvane
