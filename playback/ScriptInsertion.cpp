#include "playback/ScriptInsertion.h"

#include <cmath>
#include <string_view>
#include <tinyxml.h>

#include "framework/XmlReader.h"

namespace corvane {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The parsed text with its lines, to turn the parser's rows and columns into offsets.
class ParsedText {
public:
    explicit ParsedText(std::string_view text) : text(text) {
        lineStarts.push_back(0);
        for (std::size_t at = 0; at < text.size(); ++at) {
            // The parser's own line breaks: "\r\n", "\r" and "\n".
            if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n')
                ++at;
            if (text[at] == '\r' || text[at] == '\n')
                lineStarts.push_back(at + 1);
        }
    }

    // Where a node begins: its row and column count bytes, or characters where the parser
    // read the text as UTF-8; either way the node begins with '<'. npos when neither fits.
    std::size_t offsetOf(const TiXmlNode& node) const {
        const int row = node.Row();
        const int column = node.Column();
        if (row < 1 || column < 1 || static_cast<std::size_t>(row) > lineStarts.size())
            return std::string_view::npos;
        const std::size_t start = lineStarts[static_cast<std::size_t>(row - 1)];
        std::size_t byBytes = start + static_cast<std::size_t>(column - 1);
        if (byBytes < text.size() && text[byBytes] == '<')
            return byBytes;
        std::size_t at = start;
        for (int characters = 1; characters < column && at < text.size(); ++characters) {
            ++at;
            while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80)
                ++at;
        }
        return at < text.size() && text[at] == '<' ? at : std::string_view::npos;
    }

    // The white space that begins the line of `offset`, when only white space comes before
    // it on that line; else nothing.
    std::string indentBefore(std::size_t offset) const {
        std::size_t start = offset;
        while (start > 0 && text[start - 1] != '\n' && text[start - 1] != '\r')
            --start;
        const std::string_view before = text.substr(start, offset - start);
        for (char c : before)
            if (c != ' ' && c != '\t')
                return {};
        return std::string(before);
    }

    bool startsLine(std::size_t offset) const {
        std::size_t start = offset;
        while (start > 0 && (text[start - 1] == ' ' || text[start - 1] == '\t'))
            --start;
        return start == 0 || text[start - 1] == '\n' || text[start - 1] == '\r';
    }

    // Back from `offset` over white space.
    std::size_t backOverBlanks(std::size_t offset) const {
        while (offset > 0 && isBlank(text[offset - 1]))
            --offset;
        return offset;
    }

    // The row of `offset`, from 1.
    int rowOf(std::size_t offset) const {
        int row = 0;
        while (static_cast<std::size_t>(row) < lineStarts.size() &&
               lineStarts[static_cast<std::size_t>(row)] <= offset)
            ++row;
        return row;
    }

    std::string_view text;
    std::vector<std::size_t> lineStarts;
};

// Where the content of `root` ends: at its closing tag, found back from what follows the
// root in the document (or the end); npos for a root that closes itself.
std::size_t contentEnd(const ParsedText& parsed, const TiXmlElement& root) {
    std::size_t after = parsed.text.size();
    if (const TiXmlNode* next = root.NextSibling())
        if (const std::size_t at = parsed.offsetOf(*next); at != std::string_view::npos)
            after = at;
    const std::size_t end = parsed.backOverBlanks(after);
    const std::size_t close = parsed.text.rfind("</", end);
    const std::size_t start = parsed.offsetOf(root);
    if (close == std::string_view::npos || start == std::string_view::npos || close <= start)
        return std::string_view::npos;
    return close;
}

// Where `node` ends: before what follows it in its parent, or the parent's closing tag.
std::size_t endOf(const ParsedText& parsed, const TiXmlNode& node, const TiXmlElement& root) {
    std::size_t next = std::string_view::npos;
    if (const TiXmlNode* sibling = node.NextSibling())
        next = parsed.offsetOf(*sibling);
    else
        next = contentEnd(parsed, root);
    return next == std::string_view::npos ? next : parsed.backOverBlanks(next);
}

// Where `node` ends with the comments that follow it on its last line, which belong to it.
std::size_t endWithComments(const ParsedText& parsed, const TiXmlNode& node,
                            const TiXmlElement& root) {
    std::size_t end = endOf(parsed, node, root);
    for (const TiXmlNode* next = node.NextSibling();
         end != std::string_view::npos && next != nullptr && next->ToComment() != nullptr;
         next = next->NextSibling()) {
        const std::size_t at = parsed.offsetOf(*next);
        if (at == std::string_view::npos ||
            parsed.text.substr(end, at - end).find_first_of("\r\n") != std::string_view::npos)
            break;
        end = endOf(parsed, *next, root);
    }
    return end;
}

} // namespace

bool ScriptInsertion::insert(const std::string& text, float time, const Lines& keyframe,
                             std::string& result, int& row, std::string& problem) {
    const std::string unreadable = XmlReader::unreadableEncoding(text);
    std::string storage;
    const std::string_view prepared = XmlReader::prepare(text, storage);
    // Only a byte-order mark may stand before the text as parsed: UTF-16 is turned into
    // UTF-8 first, and the new lines could not be put back in its place.
    const std::size_t skipped = text.size() - prepared.size();
    if (!unreadable.empty() ||
        (skipped != 0 && (skipped != 3 || text.rfind("\xEF\xBB\xBF", 0) != 0))) {
        problem = "is not saved as UTF-8 or in single bytes";
        return false;
    }
    TiXmlDocument document;
    document.SetTabSize(1);
    const XmlReader::Outcome outcome = XmlReader::parse(text, document);
    if (outcome != XmlReader::Outcome::PARSED) {
        problem = "does not parse: " + XmlReader::describe(outcome, "", text, document);
        return false;
    }
    const TiXmlElement* root = document.RootElement();
    if (root == nullptr) {
        problem = "has no root element";
        return false;
    }
    const ParsedText parsed(prepared);

    // The keyframe after which (or else before which) the new one goes.
    const TiXmlElement* after = nullptr;
    const TiXmlElement* first = nullptr;
    for (const TiXmlElement* element = root->FirstChildElement("keyframe"); element != nullptr;
         element = element->NextSiblingElement("keyframe")) {
        double value = 0.0;
        element->QueryDoubleAttribute("time", &value);
        if (!std::isfinite(value))
            continue;
        if (first == nullptr)
            first = element;
        if (static_cast<float>(value) <= time)
            after = element;
    }

    const std::string lineEnd = text.find("\r\n") != std::string::npos ? "\r\n" : "\n";
    const TiXmlElement* model = after != nullptr ? after : first;
    std::string indent;
    std::string childIndent;
    if (model != nullptr) {
        const std::size_t at = parsed.offsetOf(*model);
        if (at != std::string_view::npos)
            indent = parsed.indentBefore(at);
        if (const TiXmlElement* child = model->FirstChildElement())
            if (child->Row() > model->Row())
                if (const std::size_t childAt = parsed.offsetOf(*child);
                    childAt != std::string_view::npos)
                    childIndent = parsed.indentBefore(childAt);
    } else {
        const std::size_t at = parsed.offsetOf(*root);
        const std::string rootIndent =
            at != std::string_view::npos ? parsed.indentBefore(at) : std::string();
        indent = rootIndent + (rootIndent.find('\t') != std::string::npos ? "\t" : "  ");
    }
    if (childIndent.size() <= indent.size() || childIndent.compare(0, indent.size(), indent) != 0)
        childIndent = indent + (indent.find('\t') != std::string::npos ? "\t" : "  ");

    std::string lines = indent + keyframe.open;
    for (const std::string& child : keyframe.children)
        lines += lineEnd + childIndent + child;
    if (!keyframe.close.empty())
        lines += lineEnd + indent + keyframe.close;

    std::size_t offset = std::string_view::npos;
    std::string inserted;
    if (after != nullptr || first == nullptr) {
        // After the keyframe, or after whatever the root holds: on a line of its own.
        const TiXmlNode* last = after != nullptr ? after : root->LastChild();
        offset = last != nullptr ? endWithComments(parsed, *last, *root) : std::string_view::npos;
        if (last == nullptr) {
            const std::size_t close = contentEnd(parsed, *root);
            if (close != std::string_view::npos)
                offset = parsed.backOverBlanks(close);
        }
        inserted = lineEnd + lines;
        // A root whose closing tag stood on the same line as its content gets its own line.
        if (after == nullptr && offset != std::string_view::npos) {
            const std::size_t close = contentEnd(parsed, *root);
            if (close != std::string_view::npos && !parsed.startsLine(close) &&
                parsed.backOverBlanks(close) == offset)
                inserted += lineEnd;
        }
    } else {
        offset = parsed.offsetOf(*first);
        if (offset != std::string_view::npos && parsed.startsLine(offset)) {
            offset -= indent.size();
            inserted = lines + lineEnd;
        } else {
            inserted = lines + lineEnd + indent;
        }
    }
    if (offset == std::string_view::npos) {
        problem = "has no place for keyframes that can be found";
        return false;
    }
    row = parsed.rowOf(offset) + (inserted.compare(0, lineEnd.size(), lineEnd) == 0 ? 1 : 0);
    offset += skipped;
    result = text.substr(0, offset) + inserted + text.substr(offset);
    return true;
}

} // namespace corvane
