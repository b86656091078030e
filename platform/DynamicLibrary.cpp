#include "platform/DynamicLibrary.h"

#include <dlfcn.h>

namespace corvane {

std::unique_ptr<DynamicLibrary> DynamicLibrary::open(const std::string& path, std::string& error) {
    // Local binding keeps two plug-ins' own symbols apart; both still resolve the host's
    // exported query services.
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = ::dlerror();
        error = reason != nullptr ? reason : "unknown error";
        return nullptr;
    }
    return std::unique_ptr<DynamicLibrary>(new DynamicLibrary(handle));
}

DynamicLibrary::DynamicLibrary(void* handle) : handle(handle) {}

DynamicLibrary::~DynamicLibrary() {
    ::dlclose(handle);
}

void* DynamicLibrary::symbol(const char* name) const {
    return ::dlsym(handle, name);
}

} // namespace corvane
