#include "viewer/scene/RealReader.h"

#include <OgreStringConverter.h>
#include <charconv>
#include <cstring>
#include <system_error>

namespace corvane {

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

float RealReader::parse(const char* text) {
    if (text == nullptr)
        return 0.0f;
    // The engine reads the text as a double and then narrows it to float; reading the
    // double with from_chars gives the same correctly rounded double for decimal texts.
    const char* begin = text;
    while (isSpace(*begin))
        ++begin;
    bool negative = false;
    if (*begin == '+' || *begin == '-') {
        negative = *begin == '-';
        ++begin;
    }
    const bool decimal = isDigit(*begin) || (*begin == '.' && isDigit(begin[1]));
    // "0x" starts a hexadecimal number for the engine but ends at the "x" for from_chars.
    const bool hexadecimal = begin[0] == '0' && (begin[1] == 'x' || begin[1] == 'X');
    if (decimal && !hexadecimal) {
        double value = 0.0;
        const char* end = begin + std::strlen(begin);
        const std::from_chars_result result =
            std::from_chars(begin, end, value, std::chars_format::general);
        // Out of the double's range the engine's reader decides (infinity, or the
        // nearest subnormal): leave those rare texts to it.
        if (result.ec == std::errc())
            return static_cast<float>(negative ? -value : value);
    }
    return Ogre::StringConverter::parseReal(text);
}

} // namespace corvane
