#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

// A 16-byte identifier in the GUID layout: a 32-bit and two 16-bit numbers stored
// little-endian, then eight bytes in order. Identifiers name plug-ins, plug-in kinds and
// interfaces; two are equal when all 16 bytes are equal, and there is no other ordering.
struct UUID {
    std::uint8_t bytes[16];

    // Builds the identifier written {d1-d2-d3-tail}, where tail holds the last two groups
    // (4 + 12 hex digits) as one 64-bit number, so ids in code read as they are written.
    static constexpr UUID fromFields(std::uint32_t d1, std::uint16_t d2, std::uint16_t d3,
                                     std::uint64_t tail) {
        UUID id{};
        for (int i = 0; i < 4; ++i)
            id.bytes[i] = static_cast<std::uint8_t>(d1 >> (8 * i));
        for (int i = 0; i < 2; ++i) {
            id.bytes[4 + i] = static_cast<std::uint8_t>(d2 >> (8 * i));
            id.bytes[6 + i] = static_cast<std::uint8_t>(d3 >> (8 * i));
        }
        for (int i = 0; i < 8; ++i)
            id.bytes[8 + i] = static_cast<std::uint8_t>(tail >> (8 * (7 - i)));
        return id;
    }

    // Reads the braced form "{3E9F93CA-B8BC-4D2B-939D-438A8479616D}" (hex digits in either
    // case); false and `out` untouched for any other text.
    static bool parse(std::string_view text, UUID& out);

    // The braced form with upper-case hex digits.
    std::string toString() const;
};

constexpr bool operator==(const UUID& a, const UUID& b) {
    for (int i = 0; i < 16; ++i)
        if (a.bytes[i] != b.bytes[i])
            return false;
    return true;
}

constexpr bool operator!=(const UUID& a, const UUID& b) {
    return !(a == b);
}

} // namespace corvane
