#pragma once

#include <cstddef>
#include <string_view>

namespace corvane {

// How deep the elements of an XML text nest, found without parsing it. The parser (and
// everything that walks its tree) recurses once per level, so a text nested deeper than
// the process's stack can hold would end the process; readers test the depth first and
// refuse such a text with one diagnostic line.
class XmlNestingDepth {
public:
    // Deeper than any scene, script or configuration that a person or an exporter writes,
    // and shallow enough for the parser, the scene graph and the sanitizers' larger frames.
    static constexpr std::size_t LIMIT = 256;

    // The deepest element nesting in `text` (a lone element is 1), counted as the parser
    // reads it byte by byte (XmlReader), or in UTF-8 mode over whole characters, where it
    // stops at the same bytes: comments, character data, declarations and other markup
    // are no level, and attribute values quoted right after their '=' may hold '>' and
    // "/>". Never less than the depth of the tree that the parser builds from the same
    // text.
    static std::size_t of(std::string_view text);
    // Where the innermost element that is still open at offset `end` of `text` begins (its
    // '<'), read in the same way; npos when none is.
    static std::size_t innermostOpen(std::string_view text, std::size_t end);
};

} // namespace corvane
