// corvane-join: the tool behind `corvane join`.
#include <string>
#include <vector>

#include "platform/StandardStreams.h"
#include "tools/join/JoinProgram.h"

int main(int argc, char** argv) {
    corvane::StandardStreams::secure();
    return corvane::JoinProgram::run(std::vector<std::string>(argv + 1, argv + argc));
}
