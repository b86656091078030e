#pragma once

namespace corvane {

// Where a step of an animation ends against what a script set for it. Kept in one place so
// that entities' animations (SceneObjectControl) and scene nodes' (NodeAnimationControl)
// stop and end their weight slides alike.
class AnimationLimit {
public:
    // Whether `time`, the animation's time plus `step` (the plain sum, before the state wraps
    // or clamps it), has passed the stop time `stop`; landing exactly on it does not reach it.
    static bool passesStop(float step, float time, float stop) {
        return step < 0.0f ? time < stop : time > stop;
    }
    // Whether `weight`, slid at `rate`, has reached the slide's `target`; landing on it does.
    static bool reachesTarget(float rate, float weight, float target) {
        return rate < 0.0f ? weight <= target : weight >= target;
    }
};

} // namespace corvane
