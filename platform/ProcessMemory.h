#pragma once

#include <cstddef>

namespace corvane {

// The process's own memory use, as the operating system counts it.
class ProcessMemory {
public:
    // Resident set size in KiB; 0 when the system does not say.
    static std::size_t residentKiB();
};

} // namespace corvane
