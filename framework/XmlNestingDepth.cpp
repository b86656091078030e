#include "framework/XmlNestingDepth.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

namespace corvane {

namespace {

bool startsWith(std::string_view text, std::size_t at, std::string_view prefix) {
    return text.compare(at, prefix.size(), prefix) == 0;
}

// The parser takes "<" and a letter, '_' or any byte outside ASCII as the start of an
// element; anything else after "<" is markup that it skips to the next '>'.
bool startsElementName(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 127;
}

} // namespace

std::size_t XmlNestingDepth::of(std::string_view text) {
    constexpr std::size_t none = std::string_view::npos;
    std::size_t depth = 0;
    std::size_t deepest = 0;
    std::size_t at = text.find('<');
    while (at != none) {
        std::size_t end;
        if (startsWith(text, at, "<!--")) {
            end = text.find("-->", at + 4);
            end = end == none ? none : end + 2;
        } else if (startsWith(text, at, "<![CDATA[")) {
            end = text.find("]]>", at + 9);
            end = end == none ? none : end + 2;
        } else if (startsWith(text, at, "</")) {
            end = text.find('>', at + 2);
            if (depth > 0)
                --depth;
        } else if (at + 1 < text.size() && startsElementName(text[at + 1])) {
            // A start tag: attribute values in quotes may hold '>' and "/>".
            char quote = '\0';
            for (end = at + 1; end < text.size(); ++end) {
                const char c = text[end];
                if (quote != '\0') {
                    if (c == quote)
                        quote = '\0';
                } else if (c == '"' || c == '\'') {
                    quote = c;
                } else if (c == '>') {
                    break;
                }
            }
            if (end == text.size())
                end = none;
            // An element is one level deeper than its parent; one that ends in "/>" holds
            // nothing. An unfinished tag still counts: the parser may have gone into it.
            const bool empty = end != none && text[end - 1] == '/';
            deepest = std::max(deepest, depth + 1);
            if (!empty)
                ++depth;
        } else {
            // Declarations, document types and anything else the parser does not know.
            end = text.find('>', at + 1);
        }
        if (end == none)
            break;
        at = text.find('<', end + 1);
    }
    return deepest;
}

std::size_t XmlNestingDepth::ofFile(const char* path) {
    std::ifstream file(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    return of(text);
}

} // namespace corvane
