#include "viewer/scene/SceneSpellings.h"

#include <cstring>
#include <tinyxml.h>

namespace corvane {

namespace {

// One row per item that today's exporters spell differently. A row with only an element
// renames a child element, one with only an attribute renames an attribute of the same
// element, and one with both moves the attribute to a child element. Rows of the same
// format name are tried in order.
struct Spelling {
    const char* format;
    const char* element;
    const char* attribute;
};

constexpr Spelling spellings[] = {
    {"meshfile", nullptr, "meshFile"},
    {"colour_ambient", "colourAmbient", nullptr},
    {"colour_background", "colourBackground", nullptr},
    {"colour_diffuse", "colourDiffuse", nullptr},
    {"colour_specular", "colourSpecular", nullptr},
    {"light_attenuation", "lightAttenuation", nullptr},
    {"light_range", "lightRange", nullptr},
    {"rotation", "quaternion", nullptr},
    {"normal", "direction", nullptr},
    {"position", "translation", nullptr},
    {"exp_density", nullptr, "expDensity"},
    {"linear_start", nullptr, "linearStart"},
    {"linear_end", nullptr, "linearEnd"},
    {"nearClipDistance", "clipping", "near"},
    {"nearClipDistance", "clipping", "nearPlaneDist"},
    {"farClipDistance", "clipping", "far"},
    {"farClipDistance", "clipping", "farPlaneDist"},
    // The format has no particle systems; older exporters name their template "file".
    {"template", nullptr, "file"},
};

bool same(const char* a, const char* b) {
    return std::strcmp(a, b) == 0;
}

// Today's element name for the format's child element `name`, or null.
const char* todaysElement(const char* name) {
    for (const Spelling& spelling : spellings)
        if (spelling.attribute == nullptr && same(spelling.format, name))
            return spelling.element;
    return nullptr;
}

} // namespace

const TiXmlElement* SceneSpellings::child(const TiXmlElement* parent, const char* name) {
    if (const TiXmlElement* found = parent->FirstChildElement(name))
        return found;
    const char* today = todaysElement(name);
    return today != nullptr ? parent->FirstChildElement(today) : nullptr;
}

const char* SceneSpellings::childName(const TiXmlElement* parent, const char* name) {
    if (parent->FirstChildElement(name) != nullptr)
        return name;
    const char* today = todaysElement(name);
    if (today != nullptr && parent->FirstChildElement(today) != nullptr)
        return today;
    return name;
}

const char* SceneSpellings::attribute(const TiXmlElement* element, const char* name) {
    if (const char* value = element->Attribute(name))
        return value;
    for (const Spelling& spelling : spellings) {
        if (spelling.attribute == nullptr || !same(spelling.format, name))
            continue;
        const TiXmlElement* holder =
            spelling.element == nullptr ? element : element->FirstChildElement(spelling.element);
        if (holder == nullptr)
            continue;
        if (const char* value = holder->Attribute(spelling.attribute))
            return value;
    }
    return nullptr;
}

bool SceneSpellings::isTodays(const TiXmlElement* element, const char* name) {
    const char* today = todaysElement(name);
    return today != nullptr && same(element->Value(), today);
}

} // namespace corvane
