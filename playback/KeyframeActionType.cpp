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

} // namespace corvane
