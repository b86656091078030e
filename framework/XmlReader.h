#pragma once

#include <optional>
#include <string>
#include <string_view>

class TiXmlDocument;

namespace corvane {

// Every XML text of the system (scenes, keyframe scripts, host configurations) is read
// through here. The parser recurses once per level of nesting, so a text nested deeper
// than XmlNestingDepth::LIMIT is refused before it is parsed. The parser reads bytes as
// they are: in its UTF-8 mode a lead byte takes the bytes after it along, quotes and
// brackets among them, and the nesting test could no longer follow it. A leading UTF-8
// byte-order mark is skipped; text passes through unchanged.
//
// Text saved as UTF-16 with a byte-order mark is turned into UTF-8 first. In a Unicode text
// (a UTF-8 or UTF-16 byte-order mark, or a declaration of UTF-8 or of no encoding) the
// parser's UTF-8 mode decodes character references such as "&#233;" into UTF-8, where its
// byte mode gives one byte; such a text is parsed in UTF-8 mode when it holds a character
// reference and its every lead byte has the bytes it announces, so that no lead byte can
// take a quote or a bracket along. Every other text is parsed byte by byte.
class XmlReader {
public:
    enum class Outcome {
        PARSED,              // `document` holds the text's tree
        TOO_DEEP,            // refused unparsed: nested deeper than XmlNestingDepth::LIMIT
        MALFORMED,           // the parser's error is in `document` (ErrorDesc, ErrorRow, ErrorCol)
        UNREADABLE_ENCODING, // refused unparsed: unreadableEncoding() says why
    };

    static Outcome parse(const std::string& text, TiXmlDocument& document);
    // The text exactly as parse() hands it to the parser and counts its nesting: UTF-16
    // turned into UTF-8, without a byte-order mark, a leading declaration blanked out. It
    // lies in `text` or `storage`.
    static std::string_view prepare(const std::string& text, std::string& storage);
    // What keeps parse() from reading `text`, such as "UTF-32"; empty when nothing does.
    static std::string unreadableEncoding(const std::string& text);
    // The outcome of parse() as one message about `origin`: "ORIGIN:ROW:COLUMN: the parser's
    // message" (without row and column when it knows none) and, where it left an element
    // open, ParseError::unclosed(); or why the text was refused; empty for PARSED.
    static std::string describe(Outcome outcome, const std::string& origin, const std::string& text,
                                const TiXmlDocument& document);

    // The element that a text which failed to parse left open: its name, and the row and
    // column of its start tag as the parser counts them (a tab to the next fourth column).
    struct OpenElement {
        std::string name;
        int row = 0;
        int column = 0;
    };
    // What the parser says of a text that did not parse (MALFORMED), worded here for every
    // reader's line. The parser stops where it finds out, at an end tag far below or at the
    // end of the text: where its error is about an end tag (one missing, or one of another
    // name), the element it left open is where to look.
    struct ParseError {
        std::string message; // the parser's: "Error reading end tag."
        int row = 0;         // where it stopped; 0 when it knows no place
        int column = 0;
        // None for other errors, or when the parser stopped outside every element.
        std::optional<OpenElement> open;

        // "; \"node\" opened at row 3, column 5 is not closed", or empty.
        std::string unclosed() const;
        // "MESSAGE (row ROW, column COLUMN)" and unclosed().
        std::string described() const;
    };
    static ParseError parseError(const std::string& text, const TiXmlDocument& document);

    // The whole file; false when it cannot be read.
    static bool readFile(const std::string& path, std::string& text);
};

} // namespace corvane
