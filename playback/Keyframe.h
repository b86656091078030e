#pragma once

#include <forward_list>
#include <map>
#include <string>

#include "framework/FloatQuaternion.h"
#include "framework/FloatVector3.h"
#include "playback/KeyframeAction.h"

namespace corvane {

// One "keyframe" element: the entity it places (or "CAMERA"), its full transform with
// motion and timed turn, and its actions. Absent elements keep these defaults, and every
// keyframe applies all of them.
struct Keyframe {
    std::string entity;
    FloatVector3 position{0.0f, 0.0f, 0.0f};
    FloatVector3 velocity{0.0f, 0.0f, 0.0f};       // units per scaled second
    FloatVector3 velocityTarget{0.0f, 0.0f, 0.0f}; // where the motion stops
    FloatQuaternion orientation{1.0f, 0.0f, 0.0f, 0.0f};
    FloatQuaternion slerpTarget{1.0f, 0.0f, 0.0f, 0.0f};
    float multiplier = 0.0f; // slerp rate, progress per scaled second
    // Performed front to back, which is the reverse of the file's order.
    std::forward_list<KeyframeAction> actions;
    int row = 0; // of the "keyframe" element in its script, for diagnostics

    // Whether the keyframe does anything through its entity. Scripts give cues that only
    // play sounds or show texts a made-up entity; every other keyframe does nothing of its
    // own when its entity is not found.
    bool needsEntity() const {
        if (actions.empty())
            return true;
        for (const KeyframeAction& action : actions)
            if (actsOnEntity(action.code))
                return true;
        return false;
    }
};

// Keyframes by time in seconds; a keyframe inserted at a time already present goes after
// the ones there.
using KeyframeMap = std::multimap<float, Keyframe>;

} // namespace corvane
