#pragma once

class TiXmlElement;

namespace corvane {

// Today's exporters spell several items of the dotScene format differently. The loader
// reads today's spelling only where the format's own is absent, so that files in the
// format load exactly as the format says, and today's files do not load as empty nodes.
//
// Two of today's items also differ in their content, which the loader handles where it
// reads them: a "quaternion" element holds "x", "y", "z", "w" (where "rotation" holds
// "qx", "qy", "qz", "qw"), and a "lightRange" element gives its angles in radians.
class SceneSpellings {
public:
    // The first child element `name` of `parent`; when there is none, the first child in
    // today's spelling of `name`; null when neither is there.
    static const TiXmlElement* child(const TiXmlElement* parent, const char* name);

    // The element name under which `parent` holds its `name` children: `name` when at
    // least one such child is there, otherwise today's spelling when a child of that
    // name is there, otherwise `name`.
    static const char* childName(const TiXmlElement* parent, const char* name);

    // Attribute `name` of `element`; when it is absent, today's spelling of it, which may
    // be an attribute of a child element (the camera's "clipping"). Null when neither
    // is there.
    static const char* attribute(const TiXmlElement* element, const char* name);

    // True when `element` carries today's spelling of the format's `name`.
    static bool isTodays(const TiXmlElement* element, const char* name);
};

} // namespace corvane
