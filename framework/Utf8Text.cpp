#include "framework/Utf8Text.h"

namespace corvane {

namespace {

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

} // namespace

std::u32string Utf8Text::decode(std::string_view text) {
    std::u32string characters;
    characters.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        // The bytes a lead byte announces, and the range of its first continuation byte that
        // keeps the character shortest and outside the surrogates.
        const std::size_t length = Utf8Text::length(lead);
        const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
        const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
        bool whole = length > 1 && text.size() - at >= length;
        for (std::size_t i = 1; whole && i < length; ++i) {
            const auto byte = static_cast<unsigned char>(text[at + i]);
            whole = isContinuation(byte) && (i > 1 || (byte >= low && byte <= high));
        }
        if (!whole) {
            characters.push_back(lead);
            ++at;
            continue;
        }
        char32_t character = lead & (0xFF >> (length + 1));
        for (std::size_t i = 1; i < length; ++i)
            character = (character << 6) | (static_cast<unsigned char>(text[at + i]) & 0x3F);
        characters.push_back(character);
        at += length;
    }
    return characters;
}

std::size_t Utf8Text::length(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 1;
}

} // namespace corvane
