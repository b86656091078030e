#pragma once

#include <string>

namespace corvane {

// The process's environment variables, which programs it runs inherit.
class ProcessEnvironment {
public:
    // The variable's value; empty when it is not set.
    static std::string get(const std::string& name);
    // Sets the variable for this process and the programs it runs from now on.
    static void set(const std::string& name, const std::string& value);
    // The user's cache folder: XDG_CACHE_HOME when it names an absolute folder, else
    // ~/.cache; empty when neither can be told.
    static std::string cacheFolder();
};

} // namespace corvane
