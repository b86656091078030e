#include "framework/XmlReader.h"

#include <fstream>
#include <iterator>
#include <tinyxml.h>

#include "framework/XmlNestingDepth.h"

namespace corvane {

XmlReader::Outcome XmlReader::parse(std::string_view text, TiXmlDocument& document) {
    constexpr std::string_view BYTE_ORDER_MARK = "\xEF\xBB\xBF";
    if (text.substr(0, BYTE_ORDER_MARK.size()) == BYTE_ORDER_MARK)
        text.remove_prefix(BYTE_ORDER_MARK.size());
    if (XmlNestingDepth::of(text) > XmlNestingDepth::LIMIT)
        return Outcome::TOO_DEEP;
    const std::string terminated(text);
    document.Parse(terminated.c_str(), nullptr, TIXML_ENCODING_LEGACY);
    return document.Error() ? Outcome::MALFORMED : Outcome::PARSED;
}

bool XmlReader::readFile(const std::string& path, std::string& text) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return !file.bad();
}

} // namespace corvane
