#include "playback/KeyframeLoader.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <sstream>
#include <tinyxml.h>
#include <utility>

#include "framework/XmlNestingDepth.h"
#include "framework/XmlReader.h"
#include "platform/DebugOutput.h"

namespace corvane {

namespace {

const char* const FUNCTION = "KeyframeLoader::load(): ";

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

float decimal(const TiXmlAttribute& attribute) {
    double value = 0.0;
    if (!plainDecimal(attribute.Value(), value))
        attribute.QueryDoubleValue(&value);
    return static_cast<float>(value);
}

// The named decimals of an element, in one pass over its attributes; a name that is absent
// reads as 0. The parser refuses an element that repeats an attribute, so the first match
// is the only one.
void decimals(const TiXmlElement& element,
              std::initializer_list<std::pair<const char*, float*>> wanted) {
    for (const auto& [name, value] : wanted)
        *value = 0.0f;
    for (const TiXmlAttribute* attribute = element.FirstAttribute(); attribute != nullptr;
         attribute = attribute->Next())
        for (const auto& [name, value] : wanted)
            if (attribute->Name()[0] == name[0] && std::strcmp(attribute->Name(), name) == 0) {
                *value = decimal(*attribute);
                break;
            }
}

const char* text(const TiXmlElement& element, const char* name) {
    const char* value = element.Attribute(name);
    return value != nullptr ? value : "";
}

std::string located(const std::string& fileName, const TiXmlElement& element) {
    return FUNCTION + fileName + " row " + std::to_string(element.Row()) + ": ";
}

std::string seconds(float time) {
    std::ostringstream text;
    text << time;
    return text.str();
}

// A transform that is not finite would reach the engine, which refuses it in the middle
// of a frame: one line, and the keyframe keeps that part's default.
bool finite(std::initializer_list<float> values, const TiXmlElement& element,
            const std::string& fileName, float time) {
    for (float value : values)
        if (!std::isfinite(value)) {
            DebugOutput::line(located(fileName, element) + "keyframe at " + seconds(time) +
                              " has a \"" + element.Value() +
                              "\" that is not finite; it keeps its default");
            return false;
        }
    return true;
}

// Only the first element of each transform name counts.
void readVector(const TiXmlElement& keyframe, const char* name, FloatVector3& vector,
                const std::string& fileName, float time) {
    const TiXmlElement* element = keyframe.FirstChildElement(name);
    if (element == nullptr)
        return;
    FloatVector3 read{};
    decimals(*element, {{"x", &read.x}, {"y", &read.y}, {"z", &read.z}});
    if (finite({read.x, read.y, read.z}, *element, fileName, time))
        vector = read;
}

void readQuaternion(const TiXmlElement& element, FloatQuaternion& quaternion,
                    const std::string& fileName, float time) {
    FloatQuaternion read{};
    decimals(element, {{"w", &read.w}, {"x", &read.x}, {"y", &read.y}, {"z", &read.z}});
    if (finite({read.w, read.x, read.y, read.z}, element, fileName, time))
        quaternion = read;
}

} // namespace

bool KeyframeLoader::load(const std::string& fileName, KeyframeMap& keyframes) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(fileName, error);
    if (!std::filesystem::exists(status))
        return false;
    // The parser sizes its buffer by seeking to the end, which means nothing for a folder.
    if (!std::filesystem::is_regular_file(status)) {
        DebugOutput::line(FUNCTION + fileName + " is not a file");
        return false;
    }
    std::string text;
    if (!XmlReader::readFile(fileName, text)) {
        DebugOutput::line(FUNCTION + fileName + " cannot be opened");
        return false;
    }
    TiXmlDocument document;
    const XmlReader::Outcome outcome = XmlReader::parse(text, document);
    if (outcome == XmlReader::Outcome::TOO_DEEP) {
        DebugOutput::line(FUNCTION + fileName + " nests elements deeper than " +
                          std::to_string(XmlNestingDepth::LIMIT) + " levels; nothing is loaded");
        return false;
    }
    if (outcome == XmlReader::Outcome::UNREADABLE_ENCODING) {
        DebugOutput::line(FUNCTION + fileName + " is in an encoding the parser cannot read (" +
                          XmlReader::unreadableEncoding(text) + "); nothing is loaded");
        return false;
    }
    if (outcome == XmlReader::Outcome::MALFORMED) {
        DebugOutput::line(FUNCTION + fileName + " does not parse: " + document.ErrorDesc() +
                          " (row " + std::to_string(document.ErrorRow()) + ", column " +
                          std::to_string(document.ErrorCol()) + ")");
        return false;
    }
    read(document, fileName, keyframes);
    return true;
}

void KeyframeLoader::read(const TiXmlDocument& document, const std::string& fileName,
                          KeyframeMap& keyframes) {
    const TiXmlElement* root = document.FirstChildElement("keyframes");
    if (root == nullptr)
        return;
    for (const TiXmlElement* element = root->FirstChildElement("keyframe"); element != nullptr;
         element = element->NextSiblingElement("keyframe")) {
        float time = 0.0f;
        if (!readTime(*element, fileName, time))
            continue;
        // Scripts are mostly in time order, where the end is the right place at once; the
        // end also keeps equal times in file order.
        keyframes.emplace_hint(keyframes.end(), time, readKeyframe(*element, time, fileName));
    }
}

bool KeyframeLoader::readTime(const TiXmlElement& element, const std::string& fileName,
                              float& time) {
    double value = 0.0;
    const char* given = element.Attribute("time");
    // An absent time is 0, as the parser's query leaves it.
    const bool number = given == nullptr || plainDecimal(given, value) ||
                        element.QueryDoubleAttribute("time", &value) != TIXML_WRONG_TYPE;
    time = static_cast<float>(value);
    if (number && std::isfinite(time))
        return true;
    DebugOutput::line(located(fileName, element) + "keyframe time \"" + text(element, "time") +
                      "\" is not a finite number; keyframe skipped");
    return false;
}

Keyframe KeyframeLoader::readKeyframe(const TiXmlElement& element, float time,
                                      const std::string& fileName) {
    Keyframe keyframe;
    keyframe.entity = text(element, "entity");
    readVector(element, "position", keyframe.position, fileName, time);
    readVector(element, "velocity", keyframe.velocity, fileName, time);
    readVector(element, "velocitytarget", keyframe.velocityTarget, fileName, time);
    if (const TiXmlElement* orientation = element.FirstChildElement("orientation"))
        readQuaternion(*orientation, keyframe.orientation, fileName, time);
    if (const TiXmlElement* slerp = element.FirstChildElement("slerp")) {
        // The target and its rate are one turn: a part that is not finite drops both, or
        // the default target would be turned to at the file's rate.
        FloatQuaternion target{};
        float multiplier = 0.0f;
        decimals(*slerp, {{"w", &target.w},
                          {"x", &target.x},
                          {"y", &target.y},
                          {"z", &target.z},
                          {"multiplier", &multiplier}});
        if (finite({target.w, target.x, target.y, target.z, multiplier}, *slerp, fileName, time)) {
            keyframe.slerpTarget = target;
            keyframe.multiplier = multiplier;
        }
    }
    for (const TiXmlElement* animation = element.FirstChildElement("animation");
         animation != nullptr; animation = animation->NextSiblingElement("animation")) {
        const char* type = animation->Attribute("type");
        KeyframeAction action;
        if (type == nullptr || !keyframeActionTypeFromKeyword(type, action.code)) {
            DebugOutput::line(located(fileName, *animation) + "keyframe at " + seconds(time) +
                              (type == nullptr ? std::string(" has an animation without \"type\"")
                                               : " has an animation of unknown type \"" +
                                                     std::string(type) + "\"") +
                              "; action skipped");
            continue;
        }
        action.name = text(*animation, "name");
        decimals(*animation, {{"value", &action.value}});
        if (!std::isfinite(action.value)) {
            DebugOutput::line(located(fileName, *animation) + "keyframe at " + seconds(time) +
                              " has an animation value \"" + text(*animation, "value") +
                              "\" that is not finite; action skipped");
            continue;
        }
        // The last element of the file is performed first.
        keyframe.actions.push_front(std::move(action));
    }
    return keyframe;
}

} // namespace corvane
