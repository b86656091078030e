#pragma once

#include <string>

#include "playback/KeyframeActionType.h"

namespace corvane {

// One "animation" element of a keyframe.
struct KeyframeAction {
    std::string name; // animation, bone and holder, node, sound or text, by code
    KeyframeActionType code = KeyframeActionType::Play;
    float value = 0.0f;
    int row = 0; // of the "animation" element in its script, for diagnostics
};

} // namespace corvane
