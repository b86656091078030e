#include <gtest/gtest.h>
#include <string>
#include <tinyxml.h>

#include "framework/XmlNestingDepth.h"
#include "framework/XmlReader.h"
#include "tests/fuzz/FuzzTarget.h"

namespace corvane::testing {
namespace {

std::string nested(std::size_t levels) {
    std::string text;
    for (std::size_t i = 0; i < levels; ++i)
        text += "<a>";
    for (std::size_t i = 0; i < levels; ++i)
        text += "</a>";
    return text;
}

// Each text's count, and the parser's own tree, which the count must never fall below:
// markup that the parser skips must not hide elements from the count.
TEST(XmlNestingDepth, CountsLevelsAsTheParserBuildsThem) {
    struct Row {
        const char* name;
        std::string text;
        std::size_t depth;
    };
    const Row rows[] = {
        {"empty", "", 0},
        {"text only", "no markup > at all", 0},
        {"one element", "<a/>", 1},
        {"siblings", "<a><b/><c></c><d x='1'/></a>", 2},
        {"nested", nested(5), 5},
        {"quoted '>' and '/>'", "<a x='>' y=\"/>\"><b z='/>'><c/></b></a>", 3},
        {"comment holds tags", "<a><!-- <b><c><d> --></a>", 1},
        {"character data holds tags", "<a><![CDATA[<b><c>]]></a>", 1},
        {"declaration and document type", "<?xml version='1.0'?><!DOCTYPE a><a><b/></a>", 2},
        {"unknown markup ends at its first '>'", "<a>< \"><b><c/></b>\"></a>", 3},
        {"processing instruction ends at its first '>'", "<a><?pi '><b><c/></b>'?></a>", 3},
        {"element name outside ASCII", "<a><\xC3\xA9><b/></\xC3\xA9></a>", 3},
        {"unfinished tag", "<a><b x='", 2},
        {"end tags at the top", "</a></b><c/>", 1},
        // A quote opens a value only right after '='; elsewhere the parser stops at it.
        {"quote not after '='", "<a\" x=\"1\"><b><c/></b></a>", 3},
        {"quoted '>' after '=' and white space", "<a x = '>'><b/></a>", 2},
        // Bytes are bytes: a UTF-8 lead byte does not take the quote after it along.
        {"lead byte before a closing quote", "<a x='\xE2'><b><c/></b></a>", 3},
        // In the declaration only version, encoding and standalone have quoted values.
        {"declaration value holds '>'", "<?xml version='>'?><a><b/></a>", 2},
        {"declaration's other attribute ends at '>'", "<?xml other='>'?><a><b/></a>", 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(XmlNestingDepth::of(row.text), row.depth);
        TiXmlDocument document;
        XmlReader::parse(row.text, document);
        EXPECT_LE(fuzz::treeDepth(document), XmlNestingDepth::of(row.text));
    }
}

TEST(XmlNestingDepth, CountsTextsFarDeeperThanTheParserCouldTake) {
    EXPECT_EQ(XmlNestingDepth::of(nested(1000000)), 1000000u);
}

TEST(XmlReader, RefusesDeepTextsUnparsedAndReadsBytesAsTheyAre) {
    TiXmlDocument deep;
    EXPECT_EQ(XmlReader::parse(nested(XmlNestingDepth::LIMIT + 1), deep),
              XmlReader::Outcome::TOO_DEEP);
    EXPECT_EQ(deep.RootElement(), nullptr);

    TiXmlDocument limit;
    EXPECT_EQ(XmlReader::parse(nested(XmlNestingDepth::LIMIT), limit), XmlReader::Outcome::PARSED);

    // A byte-order mark is skipped; text in values passes unchanged, also without a
    // declaration of its encoding.
    TiXmlDocument marked;
    ASSERT_EQ(XmlReader::parse("\xEF\xBB\xBF<a name='caf\xC3\xA9'/>", marked),
              XmlReader::Outcome::PARSED);
    EXPECT_STREQ(marked.RootElement()->Attribute("name"), "caf\xC3\xA9");

    // A leading declaration ends at its first "?>", quotes or not: what follows is counted.
    TiXmlDocument declared;
    EXPECT_EQ(XmlReader::parse("<?xml version='?>" + nested(XmlNestingDepth::LIMIT + 1) + "'?>",
                               declared),
              XmlReader::Outcome::TOO_DEEP);

    // A declaration of UTF-8 changes nothing: bytes pass as they are, rows stay right.
    TiXmlDocument utf8;
    ASSERT_EQ(XmlReader::parse("<?xml version='1.0'\n  encoding='UTF-8'?>\n<a name='caf\xC3\xA9'/>",
                               utf8),
              XmlReader::Outcome::PARSED);
    EXPECT_STREQ(utf8.RootElement()->Attribute("name"), "caf\xC3\xA9");
    EXPECT_EQ(utf8.RootElement()->Row(), 3);

    TiXmlDocument broken;
    EXPECT_EQ(XmlReader::parse("<a><b></a>", broken), XmlReader::Outcome::MALFORMED);
    EXPECT_GT(broken.ErrorRow(), 0);

    std::string text;
    EXPECT_FALSE(XmlReader::readFile("/nonexistent/corvane.xml", text));
}

} // namespace
} // namespace corvane::testing
