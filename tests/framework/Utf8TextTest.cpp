#include <gtest/gtest.h>
#include <string>

#include "framework/Utf8Text.h"

namespace corvane::testing {
namespace {

// What is no shortest well-formed character, by its first bytes, is taken byte by byte as
// Latin-1; the rest decodes.
TEST(Utf8Text, TakesWhatIsNoShortestCharacterAsLatin1) {
    const struct {
        const char* name;
        std::string text;
        std::u32string characters;
    } rows[] = {
        {"two to four bytes", "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", U"\u00E9\u20AC\U0001F600"},
        {"the last below the surrogates", "\xED\x9F\xBF", U"\uD7FF"},
        {"the last character", "\xF4\x8F\xBF\xBF", U"\U0010FFFF"},
        {"a surrogate", "\xED\xA0\x80", U"\u00ED\u00A0\u0080"},
        {"overlong in two bytes", "\xC1\xBF", U"\u00C1\u00BF"},
        {"overlong in three bytes", "\xE0\x9F\xBF", U"\u00E0\u009F\u00BF"},
        {"overlong in four bytes", "\xF0\x8F\xBF\xBF", U"\u00F0\u008F\u00BF\u00BF"},
        {"beyond the last character", "\xF4\x90\x80\x80", U"\u00F4\u0090\u0080\u0080"},
        {"cut short at the end", "a\xE2\x82", U"a\u00E2\u0082"},
        {"cut short before a letter",
         "\xE2\x82"
         "a",
         U"\u00E2\u0082a"},
        {"a Latin-1 file", "caf\xE9 \xE0 bient\xF4t", U"caf\u00E9 \u00E0 bient\u00F4t"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Utf8Text::decode(row.text), row.characters) << row.name;
}

} // namespace
} // namespace corvane::testing
