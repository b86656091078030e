#include <gtest/gtest.h>
#include <string>

#include "framework/Utf8Text.h"

namespace corvane {
namespace {

// Well-formed UTF-8 gives its characters; every byte of anything else is its Latin-1
// character, so that nothing is dropped and no bytes after a bad one are swallowed.
TEST(Utf8Text, DecodesUtf8AndTakesEveryOtherByteAsLatin1) {
    const struct {
        const char* name;
        std::string bytes;
        std::u32string characters;
    } rows[] = {
        {"ASCII", "ab", U"ab"},
        {"two, three and four bytes", "caf\xC3\xA9 5 \xE2\x82\xAC \xF0\x9F\x8E\xAC",
         U"caf\u00E9 5 \u20AC \U0001F3AC"},
        {"Latin-1 file", "caf\xE9 \xE0 bient\xF4t", U"caf\u00E9 \u00E0 bient\u00F4t"},
        {"overlong", "\xC0\xAF", U"\u00C0\u00AF"},
        {"overlong three bytes", "\xE0\x80\xAF", U"\u00E0\u0080\u00AF"},
        {"surrogate", "\xED\xA0\x80", U"\u00ED\u00A0\u0080"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", U"\u00F4\u0090\u0080\u0080"},
        {"cut short at the end", "a\xE2\x82", U"a\u00E2\u0082"},
        {"cut short before ASCII",
         "\xE2\x82"
         "a",
         U"\u00E2\u0082a"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Utf8Text::decode(row.bytes), row.characters) << row.name;
}

} // namespace
} // namespace corvane
