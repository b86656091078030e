#include "playback/KeyframeLoader.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <set>
#include <tinyxml.h>
#include <utility>

#include "framework/NameSuggestion.h"
#include "framework/XmlNestingDepth.h"
#include "framework/XmlReader.h"
#include "playback/KeyframeActionType.h"
#include "playback/KeyframeDiagnostics.h"

namespace corvane {

namespace {

// A plain decimal ("-12.5", "3e-2") as the parser's own query reads it: fully consumed by
// the standard library's exact conversion. Anything else (white space, '+', hexadecimal,
// "nan", trailing text) is left to the query itself.
bool plainDecimal(const char* text, double& value) {
    const char* end = text + std::strlen(text);
    const char* at = text;
    if (at != end && *at == '-')
        ++at;
    if (at == end ||
        !(std::isdigit(static_cast<unsigned char>(*at)) ||
          (*at == '.' && at + 1 != end && std::isdigit(static_cast<unsigned char>(at[1])))))
        return false;
    const std::from_chars_result result = std::from_chars(text, end, value);
    return result.ec == std::errc() && result.ptr == end;
}

const char* text(const TiXmlElement& element, const char* name) {
    const char* value = element.Attribute(name);
    return value != nullptr ? value : "";
}

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

const char* article(const char* noun) {
    return std::strchr("aeiou", noun[0]) != nullptr ? "an" : "a";
}

// The keyframe being read, for what its parts report. Its time is written out only for a
// problem: most scripts have none.
struct Reading {
    KeyframeDiagnostics& diagnostics;
    bool timed = false;
    float time = 0.0f;

    std::optional<float> keyframeTime() const {
        return timed ? std::optional<float>(time) : std::nullopt;
    }

    void report(const TiXmlElement& element, std::string message, std::string hint = "") const {
        diagnostics.report(element.Row(), keyframeTime(), std::move(message), std::move(hint));
    }

    // Play reads such a text as the parser's query does, its leading number or 0, and
    // keeps doing so; a check of the script says what was read.
    void notPlain(const TiXmlElement& element, const TiXmlAttribute& attribute, bool number,
                  float read) const {
        diagnostics.report(element.Row(), keyframeTime(),
                           quoted(attribute.Name()) + " of " + quoted(element.Value()) + " is " +
                               quoted(attribute.Value()) +
                               (number ? ", not a plain number" : ", not a number") +
                               "; it reads as " + KeyframeDiagnostics::formatTime(read),
                           "", true);
    }
};

// Names of the script's format.
using Names = std::initializer_list<const char*>;

// The elements a keyframe holds: its transform, then its actions.
constexpr Names PARTS = {"position",    "velocity", "velocitytarget",
                         "orientation", "slerp",    "animation"};
constexpr int TRANSFORM_PARTS = 5;

// The place of `name` among `names`; -1 when it is none of them.
int placeIn(const char* name, Names names) {
    int place = 0;
    for (const char* known : names) {
        if (name[0] == known[0] && std::strcmp(name, known) == 0)
            return place;
        ++place;
    }
    return -1;
}

// A name the format does not know in `owner`: ignored, and reported, as a misspelt
// "<postion>" would otherwise leave the keyframe at the origin without a word.
void unknownName(const TiXmlElement& owner, int row, const char* kind, const char* name,
                 Names known, const Reading& reading) {
    reading.diagnostics.unknownName(row, reading.keyframeTime(), kind, owner.Value(), name,
                                    std::set<std::string>(known.begin(), known.end()));
}

// Namespace declarations and names in a namespace ("xmlns", "xmlns:editor", "xml:lang",
// "editor:locked") are XML's or another tool's, which editors and exporters add to scripts;
// they are not misspellings of the script's own names.
bool foreignName(const char* name) {
    return std::strcmp(name, "xmlns") == 0 || std::strchr(name, ':') != nullptr;
}

// The place of the attribute's name among `known`; -1 for any other name, which is
// reported unless it is a foreign one.
int attributePlace(const TiXmlElement& element, const TiXmlAttribute& attribute, Names known,
                   const Reading& reading) {
    const int place = placeIn(attribute.Name(), known);
    if (place < 0 && !foreignName(attribute.Name()))
        unknownName(element, element.Row(), "attribute", attribute.Name(), known, reading);
    return place;
}

void checkAttributes(const TiXmlElement& element, Names known, const Reading& reading) {
    for (const TiXmlAttribute* attribute = element.FirstAttribute(); attribute != nullptr;
         attribute = attribute->Next())
        attributePlace(element, *attribute, known, reading);
}

float decimal(const TiXmlAttribute& attribute, const TiXmlElement& element,
              const Reading& reading) {
    double value = 0.0;
    if (plainDecimal(attribute.Value(), value))
        return static_cast<float>(value);
    const bool number = attribute.QueryDoubleValue(&value) == TIXML_SUCCESS;
    const float read = static_cast<float>(value);
    // A value that is not finite is reported as such where it is used.
    if (std::isfinite(read))
        reading.notPlain(element, attribute, number, read);
    return read;
}

// The decimals `values` of an element, named by the first of `names` in their order, in one
// pass over its attributes; a name that is absent reads as 0. The parser refuses an element
// that repeats an attribute, so the first match is the only one. The rest of `names` are
// attributes read elsewhere; any other attribute, and any element inside, are names the
// format does not know.
void decimals(const TiXmlElement& element, const Reading& reading, Names names,
              std::initializer_list<float*> values) {
    for (float* value : values)
        *value = 0.0f;
    for (const TiXmlAttribute* attribute = element.FirstAttribute(); attribute != nullptr;
         attribute = attribute->Next()) {
        const int place = attributePlace(element, *attribute, names, reading);
        if (place >= 0 && static_cast<std::size_t>(place) < values.size())
            *values.begin()[place] = decimal(*attribute, element, reading);
    }
    for (const TiXmlElement* inside = element.FirstChildElement(); inside != nullptr;
         inside = inside->NextSiblingElement())
        unknownName(element, inside->Row(), "element", inside->Value(), {}, reading);
}

// A transform that is not finite would reach the engine, which refuses it in the middle
// of a frame: one problem, and the keyframe keeps that part's default.
bool finite(std::initializer_list<float> values, const TiXmlElement& element,
            const Reading& reading) {
    for (float value : values)
        if (!std::isfinite(value)) {
            reading.report(element, "has a \"" + std::string(element.Value()) +
                                        "\" that is not finite; it keeps its default");
            return false;
        }
    return true;
}

// An empty <orientation/> reads as (0, 0, 0, 0), which turns nothing into nothing the
// engine can use; the identity is what such an element plainly means.
FloatQuaternion turn(const FloatQuaternion& read, const TiXmlElement& element,
                     const Reading& reading) {
    const double length =
        static_cast<double>(read.w) * read.w + static_cast<double>(read.x) * read.x +
        static_cast<double>(read.y) * read.y + static_cast<double>(read.z) * read.z;
    if (length != 0.0)
        return read;
    reading.report(element, std::string("has ") + article(element.Value()) + " \"" +
                                element.Value() +
                                "\" quaternion of length zero; it reads as the identity");
    return FloatQuaternion{1.0f, 0.0f, 0.0f, 0.0f};
}

void readVector(const TiXmlElement& element, FloatVector3& vector, const Reading& reading) {
    FloatVector3 read{};
    decimals(element, reading, {"x", "y", "z"}, {&read.x, &read.y, &read.z});
    if (finite({read.x, read.y, read.z}, element, reading))
        vector = read;
}

void readOrientation(const TiXmlElement& element, FloatQuaternion& quaternion,
                     const Reading& reading) {
    FloatQuaternion read{};
    decimals(element, reading, {"w", "x", "y", "z"}, {&read.w, &read.x, &read.y, &read.z});
    if (finite({read.w, read.x, read.y, read.z}, element, reading))
        quaternion = turn(read, element, reading);
}

void readSlerp(const TiXmlElement& slerp, Keyframe& keyframe, const Reading& reading) {
    // The target and its rate are one turn: a part that is not finite drops both, or the
    // default target would be turned to at the file's rate.
    FloatQuaternion target{};
    float multiplier = 0.0f;
    decimals(slerp, reading, {"w", "x", "y", "z", "multiplier"},
             {&target.w, &target.x, &target.y, &target.z, &multiplier});
    if (finite({target.w, target.x, target.y, target.z, multiplier}, slerp, reading)) {
        keyframe.slerpTarget = turn(target, slerp, reading);
        keyframe.multiplier = multiplier;
    }
}

void readActions(const TiXmlElement& element, Keyframe& keyframe, const Reading& reading) {
    for (const TiXmlElement* animation = element.FirstChildElement("animation");
         animation != nullptr; animation = animation->NextSiblingElement("animation")) {
        const char* type = animation->Attribute("type");
        KeyframeAction action;
        if (type == nullptr || !keyframeActionTypeFromKeyword(type, action.code)) {
            if (type == nullptr) {
                reading.report(*animation, "has an animation without \"type\"; action skipped");
            } else {
                std::set<std::string> keywords;
                for (std::int32_t code = 0; code < KEYFRAME_ACTION_TYPE_COUNT; ++code)
                    keywords.emplace(keyframeActionKeyword(static_cast<KeyframeActionType>(code)));
                reading.report(*animation,
                               "has an animation of unknown type " + quoted(type) +
                                   "; action skipped",
                               NameSuggestion::of(type, keywords));
            }
            continue;
        }
        action.name = text(*animation, "name");
        action.row = animation->Row();
        decimals(*animation, reading, {"value", "name", "type"}, {&action.value});
        if (!std::isfinite(action.value)) {
            reading.report(*animation, "has an animation value " +
                                           quoted(text(*animation, "value")) +
                                           " that is not finite; action skipped");
            continue;
        }
        // The last element of the file is performed first.
        keyframe.actions.push_front(std::move(action));
    }
}

// False, after one problem, for a keyframe whose time is not a finite number: such a key
// would break the ordering of the keyframe maps. An absent time is 0, as the parser's
// query leaves it.
bool readTime(const TiXmlElement& element, Reading& reading) {
    const TiXmlAttribute* given = nullptr;
    for (const TiXmlAttribute* attribute = element.FirstAttribute(); attribute != nullptr;
         attribute = attribute->Next())
        if (std::strcmp(attribute->Name(), "time") == 0)
            given = attribute;
    double value = 0.0;
    const bool plain = given == nullptr || plainDecimal(given->Value(), value);
    const bool number = plain || given->QueryDoubleValue(&value) == TIXML_SUCCESS;
    reading.time = static_cast<float>(value);
    if (number && std::isfinite(reading.time)) {
        // A time before the start falls due at once, as it always did; it is still no time
        // of the script.
        if (reading.time < 0.0f)
            reading.report(element, "keyframe time " + quoted(text(element, "time")) +
                                        " is negative; it falls due at the start");
        reading.timed = true;
        if (!plain)
            reading.notPlain(element, *given, true, reading.time);
        return true;
    }
    reading.report(element, "keyframe time " + quoted(text(element, "time")) +
                                " is not a finite number; keyframe skipped");
    return false;
}

Keyframe readKeyframe(const TiXmlElement& element, const Reading& reading) {
    Keyframe keyframe;
    keyframe.entity = text(element, "entity");
    keyframe.row = element.Row();
    checkAttributes(element, {"entity", "time"}, reading);
    // One pass over the keyframe's elements: only the first of each transform counts.
    const TiXmlElement* transform[TRANSFORM_PARTS] = {};
    for (const TiXmlElement* child = element.FirstChildElement(); child != nullptr;
         child = child->NextSiblingElement()) {
        const int place = placeIn(child->Value(), PARTS);
        if (place < 0)
            unknownName(element, child->Row(), "element", child->Value(), PARTS, reading);
        else if (place < TRANSFORM_PARTS && transform[place] == nullptr)
            transform[place] = child;
    }
    if (transform[0] != nullptr)
        readVector(*transform[0], keyframe.position, reading);
    if (transform[1] != nullptr)
        readVector(*transform[1], keyframe.velocity, reading);
    if (transform[2] != nullptr)
        readVector(*transform[2], keyframe.velocityTarget, reading);
    if (transform[3] != nullptr)
        readOrientation(*transform[3], keyframe.orientation, reading);
    if (transform[4] != nullptr)
        readSlerp(*transform[4], keyframe, reading);
    readActions(element, keyframe, reading);
    return keyframe;
}

// The parser's error, and where an element it left open begins.
void reportUnparsed(KeyframeDiagnostics& diagnostics, const std::string& text,
                    const TiXmlDocument& document) {
    const XmlReader::ParseError error = XmlReader::parseError(text, document);
    diagnostics.reportFile("does not parse: " + error.described(),
                           error.open ? error.open->row : 0);
}

void readDocument(const TiXmlDocument& document, KeyframeDiagnostics& diagnostics,
                  KeyframeMap& keyframes) {
    const TiXmlElement* root = document.FirstChildElement("keyframes");
    if (root == nullptr)
        return;
    const Reading outside{diagnostics};
    checkAttributes(*root, {}, outside);
    for (const TiXmlElement* element = root->FirstChildElement(); element != nullptr;
         element = element->NextSiblingElement()) {
        if (std::strcmp(element->Value(), "keyframe") != 0) {
            unknownName(*root, element->Row(), "element", element->Value(), {"keyframe"}, outside);
            continue;
        }
        Reading reading{diagnostics};
        if (!readTime(*element, reading))
            continue;
        // Scripts are mostly in time order, where the end is the right place at once; the
        // end also keeps equal times in file order.
        keyframes.emplace_hint(keyframes.end(), reading.time, readKeyframe(*element, reading));
    }
}

} // namespace

bool KeyframeLoader::load(const std::string& fileName, KeyframeMap& keyframes) {
    StandardErrorSink lines;
    return load(fileName, keyframes, lines);
}

bool KeyframeLoader::load(const std::string& fileName, KeyframeMap& keyframes,
                          DiagnosticSink& sink) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(fileName, error);
    if (!std::filesystem::exists(status))
        return false;
    const DiagnosticSink::Load scope(sink);
    KeyframeDiagnostics diagnostics(sink, fileName);
    // The parser sizes its buffer by seeking to the end, which means nothing for a folder.
    if (!std::filesystem::is_regular_file(status)) {
        diagnostics.reportFile("is not a file");
        return false;
    }
    std::string text;
    if (!XmlReader::readFile(fileName, text)) {
        diagnostics.reportFile("cannot be opened");
        return false;
    }
    TiXmlDocument document;
    const XmlReader::Outcome outcome = XmlReader::parse(text, document);
    if (outcome == XmlReader::Outcome::TOO_DEEP) {
        diagnostics.reportFile("nests elements deeper than " +
                               std::to_string(XmlNestingDepth::LIMIT) +
                               " levels; nothing is loaded");
        return false;
    }
    if (outcome == XmlReader::Outcome::UNREADABLE_ENCODING) {
        diagnostics.reportFile("is in an encoding the parser cannot read (" +
                               XmlReader::unreadableEncoding(text) + "); nothing is loaded");
        return false;
    }
    if (outcome == XmlReader::Outcome::MALFORMED) {
        reportUnparsed(diagnostics, text, document);
        return false;
    }
    readDocument(document, diagnostics, keyframes);
    return true;
}

} // namespace corvane
