#pragma once

#include <string>
#include <vector>

#include "playback/Keyframe.h"
#include "tools/lint/LintFinding.h"
#include "tools/lint/SceneInventory.h"

namespace corvane::lint {

class ScriptSounds;

// What a keyframe script would do to its scene, read for what does nothing or something
// unintended: names the scene lacks (entities, animations, bones, holders, scene nodes,
// sounds) are errors; slides without an end, stop times for animations that never play,
// two keyframes of one entity at one time and moves away from their targets are warnings.
class ScriptChecker {
public:
    ScriptChecker(const SceneInventory& scene, const ScriptSounds& sounds);

    // The findings about `keyframes`, read from `file`, keyframe by keyframe in time order.
    std::vector<LintFinding> check(const KeyframeMap& keyframes, const std::string& file) const;

private:
    struct Context;

    void checkKeyframe(Context& context, float time, const Keyframe& keyframe) const;
    void checkAction(Context& context, float time, const Keyframe& keyframe,
                     const KeyframeAction& action) const;
    void checkBone(Context& context, float time, const Keyframe& keyframe,
                   const KeyframeAction& action) const;
    void checkDetach(Context& context, float time, const Keyframe& keyframe,
                     const KeyframeAction& action) const;
    void checkSound(Context& context, float time, const KeyframeAction& action) const;
    void checkMove(Context& context, float time, const Keyframe& keyframe, bool camera) const;

    const SceneInventory& scene;
    const ScriptSounds& sounds;
};

} // namespace corvane::lint
