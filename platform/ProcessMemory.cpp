#include "platform/ProcessMemory.h"

#include <fstream>
#include <malloc.h>
#include <unistd.h>

namespace corvane {

std::size_t ProcessMemory::residentKiB() {
    // "size resident shared text lib data dt", in pages.
    std::ifstream statm("/proc/self/statm");
    std::size_t size = 0;
    std::size_t resident = 0;
    if (!(statm >> size >> resident))
        return 0;
    const long page = sysconf(_SC_PAGESIZE);
    return page > 0 ? resident * static_cast<std::size_t>(page) / 1024 : 0;
}

std::size_t ProcessMemory::heapInUseBytes() {
    // Small blocks from the heap's arenas, and the large ones mapped on their own.
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

void ProcessMemory::returnFreedMemory() {
    malloc_trim(0);
}

} // namespace corvane
