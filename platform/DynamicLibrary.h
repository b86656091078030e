#pragma once

#include <memory>
#include <string>

namespace corvane {

// A shared library opened at run time; closed when the object goes.
class DynamicLibrary {
public:
    // Opens the library with all its symbols bound now; null and `error` set when the
    // system cannot open it.
    static std::unique_ptr<DynamicLibrary> open(const std::string& path, std::string& error);
    ~DynamicLibrary();
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    // The address of an exported symbol; null when the library does not export it.
    void* symbol(const char* name) const;

private:
    explicit DynamicLibrary(void* handle);
    void* handle;
};

} // namespace corvane
