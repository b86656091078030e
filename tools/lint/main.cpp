#include <exception>
#include <string>
#include <vector>

#include "platform/DebugOutput.h"
#include "tools/lint/LintProgram.h"

int main(int argc, char** argv) {
    try {
        return corvane::lint::LintProgram::run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& exception) {
        corvane::DebugOutput::line(std::string("corvane lint: ") + exception.what());
    }
    return corvane::lint::LintProgram::UNREADABLE;
}
