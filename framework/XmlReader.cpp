#include "framework/XmlReader.h"

#include <cctype>
#include <fstream>
#include <iconv.h>
#include <tinyxml.h>

#include "framework/Utf8Text.h"
#include "framework/XmlNestingDepth.h"

namespace corvane {

namespace {

using namespace std::string_view_literals;

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

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i])
            return false;
    return true;
}

// Whether the parser takes a declaration (up to its "?>") for UTF-8: it does when the
// declaration names no encoding, an empty one, or one that begins with "UTF-8" or "UTF8"
// in any case.
bool declaresUtf8(std::string_view declaration) {
    std::size_t at = 0;
    while (at < declaration.size() && !startsWithIgnoringCase(declaration.substr(at), "encoding"))
        ++at;
    if (at == declaration.size())
        return true;
    at = declaration.find_first_not_of(" \t\r\n", at + 8);
    if (at == std::string_view::npos || declaration[at] != '=')
        return false;
    at = declaration.find_first_not_of(" \t\r\n", at + 1);
    if (at == std::string_view::npos || (declaration[at] != '"' && declaration[at] != '\''))
        return false;
    const std::string_view value = declaration.substr(at + 1);
    return value.empty() || value[0] == declaration[at] || startsWithIgnoringCase(value, "utf-8") ||
           startsWithIgnoringCase(value, "utf8");
}

// True when every lead byte of `text` is followed by as many continuation bytes as it
// announces: the parser's UTF-8 mode then stops at the same quotes and brackets as its
// byte mode, and never reads past the text's end.
bool holdsWholeCharacters(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        // The parser's UTF-8 mode takes as many bytes for a character as a well-formed one has.
        const std::size_t length = Utf8Text::length(static_cast<unsigned char>(text[at]));
        if (text.size() - at < length)
            return false;
        for (std::size_t i = 1; i < length; ++i)
            if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80)
                return false;
        at += length;
    }
    return true;
}

// `bytes` in the UTF-16 of `encoding` as UTF-8 into `text`; else false, with the offset of
// the first byte that is no character in `at`.
bool convertUtf16(std::string_view bytes, const char* encoding, std::string& text,
                  std::size_t& at) {
    const iconv_t conversion = iconv_open("UTF-8", encoding);
    if (conversion == reinterpret_cast<iconv_t>(-1)) {
        at = 0;
        return false;
    }
    // A unit of two bytes gives at most three bytes of UTF-8, a pair of four at most four.
    text.resize(bytes.size() / 2 * 3);
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char* out = text.data();
    std::size_t outLeft = text.size();
    const bool converted = iconv(conversion, &in, &inLeft, &out, &outLeft) != std::size_t(-1);
    iconv_close(conversion);
    at = bytes.size() - inLeft;
    text.resize(text.size() - outLeft);
    return converted;
}

struct Prepared {
    std::string_view text;
    // Character references decode to UTF-8 in this text, as the parser's UTF-8 mode does.
    bool unicode = false;
    // Why the text cannot be read; empty when it can.
    std::string problem;
};

Prepared prepareText(const std::string& text, std::string& storage) {
    Prepared prepared;
    std::string_view content = text;
    if (content.substr(0, 4) == "\xFF\xFE\0\0"sv || content.substr(0, 4) == "\0\0\xFE\xFF"sv) {
        prepared.text = content;
        prepared.problem = "UTF-32";
        return prepared;
    }
    const bool littleEndian = content.substr(0, 2) == "\xFF\xFE"sv;
    if (littleEndian || content.substr(0, 2) == "\xFE\xFF"sv) {
        std::size_t at = 0;
        if (!convertUtf16(content.substr(2), littleEndian ? "UTF-16LE" : "UTF-16BE", storage, at)) {
            prepared.text = content;
            prepared.problem = "UTF-16 with a broken character at byte " + std::to_string(at + 2);
            return prepared;
        }
        content = storage;
        prepared.unicode = true;
    } else if (content.substr(0, 3) == "\xEF\xBB\xBF"sv) {
        content.remove_prefix(3);
        prepared.unicode = true;
    } else if (content.size() >= 2 && (content[0] == '\0' || content[1] == '\0')) {
        prepared.text = content;
        prepared.problem = "UTF-16 or UTF-32 without a byte-order mark";
        return prepared;
    }
    prepared.text = content;
    // The parser's default reads bytes, and is its fastest, until a declaration switches it
    // to UTF-8. A declaration ahead of everything else says nothing else the readers use:
    // it is blanked out up to its first "?>" (line breaks kept, so rows stay right).
    const std::size_t first = content.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos || !isDeclarationAt(content, first))
        return prepared;
    const std::size_t end = content.find("?>", first);
    if (end == std::string_view::npos)
        return prepared;
    prepared.unicode = prepared.unicode || declaresUtf8(content.substr(first, end - first));
    if (content.data() != storage.data())
        storage.assign(content);
    for (std::size_t i = first; i < end + 2; ++i)
        if (storage[i] != '\n')
            storage[i] = ' ';
    prepared.text = storage;
    return prepared;
}

// Walks `text` as the parser counts rows and columns (from 1; a tab goes on to the next
// fourth column; "\r\n" is one line break) up to offset `end`, or to row `row` and column
// `column`, whichever comes first. Returns the offset reached.
std::size_t walkRows(std::string_view text, std::size_t end, int& row, int& column, int stopRow = 0,
                     int stopColumn = 0) {
    constexpr int TAB = 4;
    row = 1;
    column = 1;
    std::size_t at = 0;
    for (; at < end && at < text.size(); ++at) {
        if (stopRow > 0 && (row > stopRow || (row == stopRow && column >= stopColumn)))
            break;
        const char c = text[at];
        if (c == '\n' || (c == '\r' && (at + 1 == text.size() || text[at + 1] != '\n'))) {
            ++row;
            column = 1;
        } else if (c == '\t') {
            column = ((column - 1) / TAB + 1) * TAB + 1;
        } else if (c != '\r') {
            ++column;
        }
    }
    return at;
}

// The element that `text`, which failed to parse into `document`, left open.
std::optional<XmlReader::OpenElement> unclosedElement(const std::string& text,
                                                      const TiXmlDocument& document) {
    if (document.ErrorId() != TiXmlBase::TIXML_ERROR_READING_END_TAG &&
        document.ErrorId() != TiXmlBase::TIXML_ERROR_READING_ELEMENT_VALUE)
        return std::nullopt;
    std::string storage;
    const std::string_view parsed = prepareText(text, storage).text;
    // The parser stops in the end tag it could not take (after a name that begins like the
    // one it wanted), or at the end of the text.
    std::size_t stop = parsed.size();
    if (document.ErrorRow() > 0) {
        int row, column;
        stop =
            walkRows(parsed, parsed.size(), row, column, document.ErrorRow(), document.ErrorCol());
        const std::size_t tag = parsed.rfind("</", stop);
        if (parsed.find_first_not_of(" \t\r\n", stop) == std::string_view::npos)
            stop = parsed.size();
        else if (tag != std::string_view::npos && parsed.find('\n', tag) >= stop)
            stop = tag;
    }
    const std::size_t start = XmlNestingDepth::innermostOpen(parsed, stop);
    if (start == std::string_view::npos)
        return std::nullopt;
    XmlReader::OpenElement element;
    const std::size_t nameEnd = parsed.find_first_of(" \t\r\n/>", start + 1);
    element.name = std::string(parsed.substr(start + 1, nameEnd - start - 1));
    walkRows(parsed, start, element.row, element.column);
    return element;
}

} // namespace

std::string XmlReader::ParseError::unclosed() const {
    if (!open)
        return "";
    return "; \"" + open->name + "\" opened at row " + std::to_string(open->row) + ", column " +
           std::to_string(open->column) + " is not closed";
}

std::string XmlReader::ParseError::described() const {
    return message + " (row " + std::to_string(row) + ", column " + std::to_string(column) + ")" +
           unclosed();
}

XmlReader::ParseError XmlReader::parseError(const std::string& text,
                                            const TiXmlDocument& document) {
    return {document.ErrorDesc(), document.ErrorRow(), document.ErrorCol(),
            unclosedElement(text, document)};
}

std::string_view XmlReader::prepare(const std::string& text, std::string& storage) {
    return prepareText(text, storage).text;
}

std::string XmlReader::unreadableEncoding(const std::string& text) {
    std::string storage;
    return prepareText(text, storage).problem;
}

XmlReader::Outcome XmlReader::parse(const std::string& text, TiXmlDocument& document) {
    std::string storage;
    const Prepared prepared = prepareText(text, storage);
    if (!prepared.problem.empty())
        return Outcome::UNREADABLE_ENCODING;
    const std::string_view parsed = prepared.text;
    if (XmlNestingDepth::of(parsed) > XmlNestingDepth::LIMIT)
        return Outcome::TOO_DEEP;
    // A text with a declaration anywhere else is parsed byte by byte throughout. Every
    // view ends at a terminating NUL.
    TiXmlEncoding encoding = TIXML_ENCODING_UNKNOWN;
    if (prepared.unicode && parsed.find("&#") != std::string_view::npos &&
        holdsWholeCharacters(parsed))
        encoding = TIXML_ENCODING_UTF8;
    else if (holdsDeclaration(parsed))
        encoding = TIXML_ENCODING_LEGACY;
    document.Parse(parsed.data(), nullptr, encoding);
    return document.Error() ? Outcome::MALFORMED : Outcome::PARSED;
}

std::string XmlReader::describe(Outcome outcome, const std::string& origin, const std::string& text,
                                const TiXmlDocument& document) {
    switch (outcome) {
    case Outcome::PARSED:
        return "";
    case Outcome::TOO_DEEP:
        return origin + ": elements nest deeper than " + std::to_string(XmlNestingDepth::LIMIT) +
               " levels";
    case Outcome::UNREADABLE_ENCODING:
        return origin + ": an encoding the parser cannot read (" + unreadableEncoding(text) + ")";
    case Outcome::MALFORMED:
        break;
    }
    const ParseError error = parseError(text, document);
    std::string where = origin;
    if (error.row > 0)
        where += ":" + std::to_string(error.row) + ":" + std::to_string(error.column);
    return where + ": " + error.message + error.unclosed();
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
