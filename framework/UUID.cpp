#include "framework/UUID.h"

namespace corvane {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Hex digits of the five groups in text order, with the byte index that each pair of
// digits fills; the first three groups are little-endian numbers.
constexpr int kGroupLengths[5] = {8, 4, 4, 4, 12};
constexpr int kByteOrder[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};

} // namespace

bool UUID::parse(std::string_view text, UUID& out) {
    if (text.size() != 38 || text.front() != '{' || text.back() != '}')
        return false;
    UUID id{};
    std::size_t pos = 1;
    int pair = 0;
    for (int group = 0; group < 5; ++group) {
        if (group > 0 && text[pos++] != '-')
            return false;
        for (int digit = 0; digit < kGroupLengths[group]; digit += 2) {
            const int high = hexValue(text[pos]);
            const int low = hexValue(text[pos + 1]);
            if (high < 0 || low < 0)
                return false;
            id.bytes[kByteOrder[pair++]] = static_cast<std::uint8_t>(high * 16 + low);
            pos += 2;
        }
    }
    out = id;
    return true;
}

std::string UUID::toString() const {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text = "{";
    int pair = 0;
    for (int group = 0; group < 5; ++group) {
        if (group > 0)
            text += '-';
        for (int digit = 0; digit < kGroupLengths[group]; digit += 2) {
            const std::uint8_t byte = bytes[kByteOrder[pair++]];
            text += kDigits[byte >> 4];
            text += kDigits[byte & 0x0F];
        }
    }
    text += '}';
    return text;
}

} // namespace corvane
