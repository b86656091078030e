#pragma once

#include <string>

namespace corvane {

// The process's current directory. Process-wide: nothing else may rely on it while a
// plug-in's start has switched it.
class CurrentDirectory {
public:
    // The current directory; empty when the system cannot tell.
    static std::string get();
    // Makes `path` current; false when the system refuses.
    static bool set(const std::string& path);
};

} // namespace corvane
