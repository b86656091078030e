#include "platform/ProcessEnvironment.h"

#include <cstdlib>

namespace corvane {

std::string ProcessEnvironment::get(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    return value != nullptr ? value : "";
}

void ProcessEnvironment::set(const std::string& name, const std::string& value) {
    ::setenv(name.c_str(), value.c_str(), 1);
}

std::string ProcessEnvironment::cacheFolder() {
    // A relative XDG_CACHE_HOME is invalid by the base directory rules and is ignored.
    if (const std::string cache = get("XDG_CACHE_HOME"); !cache.empty() && cache.front() == '/')
        return cache;
    const std::string home = get("HOME");
    return home.empty() ? "" : home + "/.cache";
}

} // namespace corvane
