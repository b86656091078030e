#pragma once

#include <cstdint>
#include <string_view>

namespace corvane {

// What one "animation" element of a keyframe does. The codes are stored with the action;
// codes 0 to 10 act on the keyframe's entity, 11 to 13 do not depend on it.
enum class KeyframeActionType : std::int32_t {
    Play = 0,               // "PLAY": animation rate
    PlayTarget = 1,         // "PLAYTARGET": time position at which the animation stops
    SetApplied = 2,         // "SETAPPLIED": animation on when the value is not 0
    SetLoop = 3,            // "SETLOOP": animation wraps around when the value is not 0
    SetWeight = 4,          // "SETWEIGHT": blend weight
    SetTime = 5,            // "SETTIME": time position
    WeightSlide = 6,        // "WEIGHTSLIDE": weight change per second
    WeightSlideTarget = 7,  // "WEIGHTSLIDETARGET": weight at which the slide stops
    AttachToBone = 8,       // "ATTATCHTOBONE": name is "bone:holder entity"
    DetachFromBone = 9,     // "DETATCHFROMBONE": name is the object taken off this entity's bones
    AttachToSceneNode = 10, // "ATTATCHTOSCENENODE": name is the scene node
    PlaySound = 11,         // "PLAYSOUND": name is the sound
    StopSound = 12,         // "STOPSOUND": name is the sound
    StatusText = 13,        // "STATUSTEXT": name is the text shown
};

// The type named by a "type" keyword, matched exactly and case-sensitively on the whole
// text (the file format keeps its historic spelling "ATTATCH"); false for any other text.
bool keyframeActionTypeFromKeyword(std::string_view keyword, KeyframeActionType& type);
// Codes 0 to 10: the action calls the keyframe's entity.
inline bool actsOnEntity(KeyframeActionType type) {
    return type <= KeyframeActionType::AttachToSceneNode;
}
// The keyword of a type, as files write it.
std::string_view keyframeActionKeyword(KeyframeActionType type);
// How many types there are: their codes run from 0 to one below this.
inline constexpr std::int32_t KEYFRAME_ACTION_TYPE_COUNT = 14;

} // namespace corvane
