#pragma once

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
class XmlReader {
public:
    enum class Outcome {
        PARSED,    // `document` holds the text's tree
        TOO_DEEP,  // refused unparsed: nested deeper than XmlNestingDepth::LIMIT
        MALFORMED, // the parser's error is in `document` (ErrorDesc, ErrorRow, ErrorCol)
    };

    static Outcome parse(const std::string& text, TiXmlDocument& document);
    // The text exactly as parse() hands it to the parser and counts its nesting: without a
    // byte-order mark, a leading declaration blanked out. It lies in `text` or `storage`.
    static std::string_view prepare(const std::string& text, std::string& storage);
    // The whole file; false when it cannot be read.
    static bool readFile(const std::string& path, std::string& text);
};

} // namespace corvane
