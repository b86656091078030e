#include <exception>
#include <string>
#include <vector>

#include "host/ExitCode.h"
#include "host/HostProgram.h"
#include "platform/DebugOutput.h"
#include "platform/StandardStreams.h"

int main(int argc, char** argv) {
    corvane::StandardStreams::secure();
    try {
        return corvane::HostProgram::run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& exception) {
        corvane::DebugOutput::line(std::string("corvane: ") + exception.what());
    }
    return corvane::EXIT_CODE_PLUGIN_EXCEPTION;
}
