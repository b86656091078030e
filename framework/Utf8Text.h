#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace corvane {

// The characters of a text as the system's files give it: UTF-8, from Unicode files and
// from files of other encodings read byte by byte. A byte that begins no well-formed UTF-8
// character is taken for the character of that number in Latin-1, which such files mostly
// hold, so that every byte shows as something and nothing is refused.
class Utf8Text {
public:
    // What is shown for a character that a font does not have.
    static constexpr char32_t REPLACEMENT = 0xFFFD;

    static std::u32string decode(std::string_view text);
    // The bytes of a well-formed character that begins with `lead`: 2 to 4 for a lead byte of
    // such a character, else 1.
    static std::size_t length(unsigned char lead);
};

} // namespace corvane
