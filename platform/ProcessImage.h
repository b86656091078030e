#pragma once

#include <string>
#include <vector>

namespace corvane {

// The program the process runs.
class ProcessImage {
public:
    // Runs the program at `path` in place of this one, with `arguments` after its name; the
    // process keeps its id, standard streams, current folder and environment, and its exit
    // status is the program's. Returns only when the program cannot be run, with the reason.
    static std::string replace(const std::string& path, const std::vector<std::string>& arguments);
    // The program `name` as a shell finds it in the folders of PATH; empty when none of them
    // holds an executable of that name.
    static std::string find(const std::string& name);
};

} // namespace corvane
