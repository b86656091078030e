// corvane-join: the tool behind `corvane join`.
#include <string>
#include <vector>

#include "platform/StandardStreams.h"
#include "platform/StopSignals.h"
#include "tools/join/JoinProgram.h"

int main(int argc, char** argv) {
    corvane::StandardStreams::secure();
    // A join stopped part-way removes what it wrote, instead of leaving it hidden.
    corvane::StopSignals::install();
    return corvane::JoinProgram::run(std::vector<std::string>(argv + 1, argv + argc));
}
