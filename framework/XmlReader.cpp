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

std::string_view XmlReader::prepare(const std::string& text, std::string& storage) {
    constexpr std::string_view BYTE_ORDER_MARK = "\xEF\xBB\xBF";
    std::string_view content = text;
    if (content.substr(0, BYTE_ORDER_MARK.size()) == BYTE_ORDER_MARK)
        content.remove_prefix(BYTE_ORDER_MARK.size());
    // The parser's default reads bytes, and is its fastest, until a declaration switches it
    // to UTF-8. A declaration ahead of everything else says nothing the readers use: it is
    // blanked out up to its first "?>" (line breaks kept, so rows stay right).
    const std::size_t first = content.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos || !isDeclarationAt(content, first))
        return content;
    const std::size_t end = content.find("?>", first);
    if (end == std::string_view::npos)
        return content;
    storage.assign(content);
    for (std::size_t i = first; i < end + 2; ++i)
        if (storage[i] != '\n')
            storage[i] = ' ';
    return storage;
}

XmlReader::Outcome XmlReader::parse(const std::string& text, TiXmlDocument& document) {
    std::string storage;
    const std::string_view parsed = prepare(text, storage);
    if (XmlNestingDepth::of(parsed) > XmlNestingDepth::LIMIT)
        return Outcome::TOO_DEEP;
    // A text with a declaration anywhere else is parsed byte by byte throughout. Both
    // views end at the text's terminating NUL.
    const TiXmlEncoding encoding =
        holdsDeclaration(parsed) ? TIXML_ENCODING_LEGACY : TIXML_ENCODING_UNKNOWN;
    document.Parse(parsed.data(), nullptr, encoding);
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
