#include "framework/XmlNestingDepth.h"

#include <algorithm>
#include <string>
#include <vector>

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

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool startsWithIgnoringCase(std::string_view text, std::size_t at, std::string_view prefix) {
    if (text.size() - at < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const char c = text[at + i];
        const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        if (lower != prefix[i])
            return false;
    }
    return true;
}

// From an attribute's '=' past its value: a quote right after the '=' (and white space)
// opens a value that runs to the same quote, as the parser reads it; anything else is an
// unquoted value, which cannot hide a '>'. Returns where to go on, or npos when the quote
// is never closed.
std::size_t pastValue(std::string_view text, std::size_t equals) {
    std::size_t at = equals + 1;
    while (at < text.size() && isSpace(text[at]))
        ++at;
    if (at < text.size() && (text[at] == '"' || text[at] == '\'')) {
        const std::size_t close = text.find(text[at], at + 1);
        return close == std::string_view::npos ? close : close + 1;
    }
    return at;
}

// The '>' that ends the start tag at `at`, or npos.
std::size_t endOfStartTag(std::string_view text, std::size_t at) {
    for (std::size_t i = at + 1; i < text.size();) {
        if (text[i] == '>')
            return i;
        if (text[i] == '=') {
            i = pastValue(text, i);
            if (i == std::string_view::npos)
                return i;
            continue;
        }
        ++i;
    }
    return std::string_view::npos;
}

// The '>' that ends the declaration "<?xml" at `at`, or npos: only its version, encoding
// and standalone attributes have their values read as values; anything else is passed
// over up to white space or a '>'.
std::size_t endOfDeclaration(std::string_view text, std::size_t at) {
    std::size_t i = at + 5;
    while (i < text.size()) {
        if (text[i] == '>')
            return i;
        if (isSpace(text[i])) {
            ++i;
            continue;
        }
        if (startsWithIgnoringCase(text, i, "version") ||
            startsWithIgnoringCase(text, i, "encoding") ||
            startsWithIgnoringCase(text, i, "standalone")) {
            std::size_t equals = i;
            while (equals < text.size() && text[equals] != '=' && text[equals] != '>')
                ++equals;
            if (equals == text.size() || text[equals] == '>') {
                i = equals;
                continue;
            }
            i = pastValue(text, equals);
            if (i == std::string_view::npos)
                return i;
            continue;
        }
        while (i < text.size() && text[i] != '>' && !isSpace(text[i]))
            ++i;
    }
    return std::string_view::npos;
}

// Calls `visit(at, tag)` for every element tag that the parser reads, in order, up to the
// first tag that begins at or after `limit`.
enum class Tag { START, EMPTY, END };

template <class Visit>
void walk(std::string_view text, std::size_t limit, Visit&& visit) {
    constexpr std::size_t none = std::string_view::npos;
    std::size_t at = text.find('<');
    while (at != none && at < limit) {
        std::size_t end;
        if (startsWith(text, at, "<!--")) {
            end = text.find("-->", at + 4);
            end = end == none ? none : end + 2;
        } else if (startsWith(text, at, "<![CDATA[")) {
            end = text.find("]]>", at + 9);
            end = end == none ? none : end + 2;
        } else if (startsWith(text, at, "</")) {
            end = text.find('>', at + 2);
            visit(at, Tag::END);
        } else if (startsWithIgnoringCase(text, at, "<?xml")) {
            end = endOfDeclaration(text, at);
        } else if (at + 1 < text.size() && startsElementName(text[at + 1])) {
            end = endOfStartTag(text, at);
            // One that ends in "/>" holds nothing. An unfinished tag still opens an element:
            // the parser may have gone into it.
            visit(at, end != none && text[end - 1] == '/' ? Tag::EMPTY : Tag::START);
        } else {
            // Declarations, document types and anything else the parser does not know.
            end = text.find('>', at + 1);
        }
        if (end == none)
            break;
        at = text.find('<', end + 1);
    }
}

} // namespace

std::size_t XmlNestingDepth::of(std::string_view text) {
    std::size_t depth = 0;
    std::size_t deepest = 0;
    walk(text, std::string_view::npos, [&](std::size_t, Tag tag) {
        // An element is one level deeper than its parent.
        if (tag == Tag::END) {
            if (depth > 0)
                --depth;
            return;
        }
        deepest = std::max(deepest, depth + 1);
        if (tag == Tag::START)
            ++depth;
    });
    return deepest;
}

std::size_t XmlNestingDepth::innermostOpen(std::string_view text, std::size_t end) {
    // An end tag closes the element opened last, whatever name it gives: the parser then
    // finds the names differ, and that element is the one left open.
    std::vector<std::size_t> open;
    walk(text, end, [&](std::size_t at, Tag tag) {
        if (tag == Tag::START)
            open.push_back(at);
        else if (tag == Tag::END && !open.empty())
            open.pop_back();
    });
    return open.empty() ? std::string_view::npos : open.back();
}

} // namespace corvane
