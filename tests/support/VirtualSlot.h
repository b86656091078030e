#pragma once

#include <cstddef>
#include <cstring>

namespace corvane::testing {

// The index of a virtual operation in its class's table. Under the Itanium C++ ABI (GCC
// and Clang on Linux) a pointer to a virtual member function holds 1 plus the byte offset
// of its table entry, so the slot order that separately built plug-ins rely on can be
// checked without calling anything.
template <class Class, class Function>
std::ptrdiff_t virtualSlot(Function Class::*member) {
    struct Representation {
        std::ptrdiff_t pointer;
        std::ptrdiff_t adjustment;
    } representation;
    static_assert(sizeof(member) == sizeof(representation));
    std::memcpy(&representation, &member, sizeof(representation));
    if ((representation.pointer & 1) == 0)
        return -1; // not virtual
    return (representation.pointer - 1) / static_cast<std::ptrdiff_t>(sizeof(void*));
}

} // namespace corvane::testing
