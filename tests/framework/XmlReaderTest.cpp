#include <gtest/gtest.h>
#include <string>
#include <tinyxml.h>

#include "framework/XmlReader.h"
#include "tests/support/Utf16Text.h"

namespace corvane::testing {
namespace {

// The value of attribute "v" of the root element as parsed, or what keeps the text from
// being read.
TEST(XmlReader, ReadsUnicodeTextsAndNamesTheEncodingsItCannotRead) {
    struct Row {
        const char* name;
        std::string text;
        XmlReader::Outcome outcome;
        std::string value; // the attribute, or unreadableEncoding()
    };
    const std::string declared = "<?xml version='1.0' encoding='UTF-8'?>\n";
    const Row rows[] = {
        {"UTF-16, little end first",
         Utf16Text::encode(u"<?xml version='1.0' encoding='UTF-16'?>\n<a v='caf\u00e9 &#233;'/>",
                           false),
         XmlReader::Outcome::PARSED, "caf\xC3\xA9 \xC3\xA9"},
        {"UTF-16, big end first", Utf16Text::encode(u"<a v='caf\u00e9'/>", true),
         XmlReader::Outcome::PARSED, "caf\xC3\xA9"},
        {"declared UTF-8", declared + "<a v='caf&#233;'/>", XmlReader::Outcome::PARSED,
         "caf\xC3\xA9"},
        {"declared without an encoding", "<?xml version='1.0'?><a v='&#x20AC;'/>",
         XmlReader::Outcome::PARSED, "\xE2\x82\xAC"},
        {"UTF-8 byte-order mark", "\xEF\xBB\xBF<a v='&#x20AC;&lt;'/>", XmlReader::Outcome::PARSED,
         "\xE2\x82\xAC<"},
        // Without a sign of Unicode a reference is one byte, as the parser's byte mode has it.
        {"plain", "<a v='caf&#233;'/>", XmlReader::Outcome::PARSED, "caf\xE9"},
        {"declared Latin-1", "<?xml version='1.0' encoding='ISO-8859-1'?><a v='&#233;'/>",
         XmlReader::Outcome::PARSED, "\xE9"},
        // A lead byte without its continuation would take the quote after it along.
        {"declared UTF-8 with a broken character", declared + "<a w='\xC3' v='&#233;'/>",
         XmlReader::Outcome::PARSED, "\xE9"},
        {"UTF-32", std::string("\xFF\xFE\0\0<\0\0\0", 8), XmlReader::Outcome::UNREADABLE_ENCODING,
         "UTF-32"},
        {"UTF-16 without a byte-order mark", std::string("<\0a\0/\0>\0", 8),
         XmlReader::Outcome::UNREADABLE_ENCODING, "UTF-16 or UTF-32 without a byte-order mark"},
        {"UTF-16 with a lone surrogate",
         Utf16Text::encode(u"<a/>", false) + std::string("\x00\xD8<\0", 4),
         XmlReader::Outcome::UNREADABLE_ENCODING, "UTF-16 with a broken character at byte 10"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TiXmlDocument document;
        ASSERT_EQ(XmlReader::parse(row.text, document), row.outcome) << document.ErrorDesc();
        if (row.outcome == XmlReader::Outcome::PARSED)
            EXPECT_EQ(document.RootElement()->Attribute("v"), row.value);
        else
            EXPECT_EQ(XmlReader::unreadableEncoding(row.text), row.value);
    }
    // Rows stay right: the declaration's line is kept.
    TiXmlDocument document;
    XmlReader::parse(Utf16Text::encode(u"<?xml version='1.0'?>\n\n<a v='&#233;'/>", false),
                     document);
    EXPECT_EQ(document.RootElement()->Row(), 3);
}

} // namespace
} // namespace corvane::testing
