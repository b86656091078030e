#pragma once

#include <cstddef>

namespace corvane {

// The process's own memory use, as the operating system and the C library count it.
class ProcessMemory {
public:
    // Resident set size in KiB; 0 when the system does not say.
    static std::size_t residentKiB();
    // Bytes the C library's allocator has handed out and not yet had back.
    static std::size_t heapInUseBytes();
    // Gives the pages of freed heap memory back to the system. The allocator returns
    // memory by itself only from the top of its heap, so whatever a large, short-lived
    // structure freed below blocks that are still in use stays resident until this.
    static void returnFreedMemory();
};

} // namespace corvane
