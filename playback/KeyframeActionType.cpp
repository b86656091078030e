#include "playback/KeyframeActionType.h"

#include <iterator>

namespace corvane {

namespace {

// Indexed by code.
constexpr std::string_view KEYWORDS[] = {
    "PLAY",          "PLAYTARGET",      "SETAPPLIED",         "SETLOOP",
    "SETWEIGHT",     "SETTIME",         "WEIGHTSLIDE",        "WEIGHTSLIDETARGET",
    "ATTATCHTOBONE", "DETATCHFROMBONE", "ATTATCHTOSCENENODE", "PLAYSOUND",
    "STOPSOUND",     "STATUSTEXT",
};
static_assert(std::size(KEYWORDS) == KEYFRAME_ACTION_TYPE_COUNT);

} // namespace

bool keyframeActionTypeFromKeyword(std::string_view keyword, KeyframeActionType& type) {
    for (std::size_t code = 0; code < std::size(KEYWORDS); ++code) {
        if (KEYWORDS[code] == keyword) {
            type = static_cast<KeyframeActionType>(code);
            return true;
        }
    }
    return false;
}

std::string_view keyframeActionKeyword(KeyframeActionType type) {
    return KEYWORDS[static_cast<std::size_t>(type)];
}

} // namespace corvane
