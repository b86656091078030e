#include "framework/XmlReader.h"

#include <cctype>
#include <fstream>
#include <tinyxml.h>

#include "framework/XmlNestingDepth.h"

namespace corvane {

namespace {

bool isDeclarationAt(std::string_view text, std::size_t at) {
    constexpr std::string_view DECLARATION = "<?xml";
    if (text.size() - at < DECLARATION.size())
        return false;
    for (std::size_t i = 0; i < DECLARATION.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[at + i])) != DECLARATION[i])
            return false;
    return true;
}

bool holdsDeclaration(std::string_view text) {
    for (std::size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at + 1))
        if (isDeclarationAt(text, at))
            return true;
    return false;
}

} // namespace

XmlReader::Outcome XmlReader::parse(const std::string& text, TiXmlDocument& document) {
    constexpr std::string_view BYTE_ORDER_MARK = "\xEF\xBB\xBF";
    const std::size_t start =
        text.compare(0, BYTE_ORDER_MARK.size(), BYTE_ORDER_MARK) == 0 ? BYTE_ORDER_MARK.size() : 0;
    std::string_view content = std::string_view(text).substr(start);

    // The parser's default reads bytes, and is its fastest, until a declaration switches it
    // to UTF-8. A declaration ahead of everything else says nothing the readers use: it is
    // blanked out up to its first "?>" (line breaks kept, so rows stay right). A text with
    // a declaration anywhere else is parsed byte by byte throughout. The nesting is counted
    // on exactly the text that is parsed.
    std::string blanked;
    const std::size_t first = content.find_first_not_of(" \t\r\n");
    if (first != std::string_view::npos && isDeclarationAt(content, first)) {
        const std::size_t end = content.find("?>", first);
        if (end != std::string_view::npos) {
            blanked.assign(content);
            for (std::size_t i = first; i < end + 2; ++i)
                if (blanked[i] != '\n')
                    blanked[i] = ' ';
            content = blanked;
        }
    }
    if (XmlNestingDepth::of(content) > XmlNestingDepth::LIMIT)
        return Outcome::TOO_DEEP;
    const TiXmlEncoding encoding =
        holdsDeclaration(content) ? TIXML_ENCODING_LEGACY : TIXML_ENCODING_UNKNOWN;
    document.Parse(blanked.empty() ? text.c_str() + start : blanked.c_str(), nullptr, encoding);
    return document.Error() ? Outcome::MALFORMED : Outcome::PARSED;
}

bool XmlReader::readFile(const std::string& path, std::string& text) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file)
        return false;
    const std::streamoff size = file.tellg();
    if (size < 0)
        return false;
    text.resize(static_cast<std::size_t>(size));
    file.seekg(0);
    return static_cast<bool>(file.read(text.data(), size));
}

} // namespace corvane
