#include "services/interface/InputScript.h"

#include <algorithm>
#include <cmath>
#include <tinyxml.h>

#include "platform/DebugOutput.h"

namespace corvane {

namespace {

void skip(const TiXmlElement* element, const std::string& why) {
    DebugOutput::line("InputScript::parse(): the \"" + std::string(element->Value()) +
                      "\" element of row " + std::to_string(element->Row()) + " " + why +
                      "; it is skipped");
}

// A finite number of 0 or more; false when the attribute is absent or not such a number.
bool readTime(const TiXmlElement* element, const char* name, double& out) {
    double value = 0.0;
    if (element->QueryDoubleAttribute(name, &value) != TIXML_SUCCESS || !std::isfinite(value) ||
        value < 0.0)
        return false;
    out = value;
    return true;
}

} // namespace

void InputScript::parse(const TiXmlElement* root) {
    script.clear();
    next = 0;
    if (root == nullptr)
        return;
    for (const TiXmlElement* element = root->FirstChildElement(); element != nullptr;
         element = element->NextSiblingElement()) {
        const std::string kind = element->Value();
        if (kind != "action" && kind != "click") {
            skip(element, "is not an \"action\" or a \"click\"");
            continue;
        }
        Entry entry{Entry::ACTION, 0.0, 0.0, "", 0.0f, 0.0f};
        if (!readTime(element, "time", entry.time)) {
            skip(element, "needs a \"time\" of 0 seconds or more");
            continue;
        }
        if (kind == "action") {
            const char* name = element->Attribute("name");
            if (name == nullptr || *name == '\0') {
                skip(element, "needs a \"name\"");
                continue;
            }
            entry.name = name;
            if (element->Attribute("duration") != nullptr &&
                !readTime(element, "duration", entry.duration)) {
                skip(element, "has a \"duration\" that is not 0 seconds or more");
                continue;
            }
        } else if (const char* target = element->Attribute("element")) {
            entry.name = target;
            const char* box = element->Attribute("box");
            entry.kind = box != nullptr && std::string(box) == "close" ? Entry::CLICK_CLOSE_BOX
                                                                       : Entry::CLICK_ELEMENT;
        } else {
            double x = 0.0;
            double y = 0.0;
            if (element->QueryDoubleAttribute("x", &x) != TIXML_SUCCESS ||
                element->QueryDoubleAttribute("y", &y) != TIXML_SUCCESS ||
                !(x >= 0.0 && x <= 1.0) || !(y >= 0.0 && y <= 1.0)) {
                skip(element, "needs an \"element\", or \"x\" and \"y\" between 0 and 1");
                continue;
            }
            entry.kind = Entry::CLICK_AT;
            entry.x = static_cast<float>(x);
            entry.y = static_cast<float>(y);
        }
        script.push_back(entry);
    }
    std::stable_sort(script.begin(), script.end(),
                     [](const Entry& a, const Entry& b) { return a.time < b.time; });
}

std::vector<InputScript::Entry> InputScript::advance(double seconds) {
    if (seconds > 0.0)
        hostTime += seconds;
    std::vector<Entry> due;
    while (next < script.size() && script[next].time <= hostTime)
        due.push_back(script[next++]);
    return due;
}

std::vector<std::string> InputScript::heldActions() const {
    std::vector<std::string> held;
    for (std::size_t i = 0; i < next; ++i) {
        const Entry& entry = script[i];
        if (entry.kind == Entry::ACTION && entry.duration > 0.0 &&
            hostTime < entry.time + entry.duration)
            held.push_back(entry.name);
    }
    return held;
}

} // namespace corvane
