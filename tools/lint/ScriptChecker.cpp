#include "tools/lint/ScriptChecker.h"

#include <map>
#include <set>
#include <sstream>
#include <utility>

#include "framework/NameSuggestion.h"
#include "playback/KeyframeDiagnostics.h"
#include "playback/PlaybackController.h"
#include "tools/lint/ScriptSounds.h"

namespace corvane::lint {

namespace {

using Severity = LintFinding::Severity;
// An animation of an entity, or an object on a holder's bones.
using Pair = std::pair<std::string, std::string>;

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string keyword(KeyframeActionType code) {
    return std::string(keyframeActionKeyword(code));
}

std::string vectorText(const FloatVector3& v) {
    std::ostringstream text;
    text << '(' << v.x << ", " << v.y << ", " << v.z << ')';
    return text.str();
}

bool isZero(const FloatVector3& v) {
    return v.x == 0.0f && v.y == 0.0f && v.z == 0.0f;
}

// "bone:holder"; a name without a colon names both.
Pair boneAndHolder(const std::string& name) {
    const std::size_t colon = name.find(':');
    return {name.substr(0, colon), colon == std::string::npos ? name : name.substr(colon + 1)};
}

// Where a keyframe comes in a run: by time, and of equal times the one later in the file
// first, as they fall due together.
struct Moment {
    float time;
    int row;
    bool before(const Moment& other) const {
        return time < other.time || (time == other.time && row > other.row);
    }
};

} // namespace

// The script as a whole, gathered before its keyframes are checked one by one.
struct ScriptChecker::Context {
    std::string file;
    std::vector<LintFinding> findings;
    std::set<Pair> played;                    // entity, animation: a PLAY at a rate other than 0
    std::map<Pair, float> firstTargets;       // entity, animation: the earliest slide target
    std::map<Pair, std::vector<Moment>> hung; // holder, object: every ATTATCHTOBONE
    std::map<std::pair<std::string, float>, int> firstRows; // entity, time: first keyframe

    void add(Severity severity, int line, float time, std::string message) {
        findings.push_back(
            {file, line, severity, KeyframeDiagnostics::formatTime(time), std::move(message)});
    }
};

ScriptChecker::ScriptChecker(const SceneInventory& scene, const ScriptSounds& sounds)
    : scene(scene), sounds(sounds) {}

std::vector<LintFinding> ScriptChecker::check(const KeyframeMap& keyframes,
                                              const std::string& file) const {
    Context context;
    context.file = file;
    for (const auto& [time, keyframe] : keyframes)
        for (const KeyframeAction& action : keyframe.actions) {
            if (action.code == KeyframeActionType::Play && action.value != 0.0f)
                context.played.insert({keyframe.entity, action.name});
            if (action.code == KeyframeActionType::WeightSlideTarget)
                context.firstTargets.emplace(Pair{keyframe.entity, action.name}, time);
            if (action.code == KeyframeActionType::AttachToBone)
                context.hung[{boneAndHolder(action.name).second, keyframe.entity}].push_back(
                    {time, keyframe.row});
        }
    for (const auto& [time, keyframe] : keyframes)
        checkKeyframe(context, time, keyframe);
    return std::move(context.findings);
}

void ScriptChecker::checkKeyframe(Context& context, float time, const Keyframe& keyframe) const {
    // Equal times keep their file order in the map: the first one met is the earlier.
    const auto [first, isFirst] =
        context.firstRows.emplace(std::pair{keyframe.entity, time}, keyframe.row);
    if (!isFirst)
        context.add(Severity::WARNING, keyframe.row, time,
                    keyframe.entity + " has another keyframe at this time, on line " +
                        std::to_string(first->second) +
                        "; of the two, the one earlier in the file is applied last");

    // The actions in file order; the list holds them last first.
    std::vector<const KeyframeAction*> actions;
    for (const KeyframeAction& action : keyframe.actions)
        actions.insert(actions.begin(), &action);

    const bool camera = keyframe.entity == PlaybackController::CAMERA_ENTITY;
    const bool known = scene.entities.count(keyframe.entity) != 0;
    if (!camera && !known && keyframe.needsEntity())
        context.add(Severity::ERROR, keyframe.row, time,
                    "entity " + quoted(keyframe.entity) + " is not in the scene" +
                        NameSuggestion::of(keyframe.entity, scene.entityNames, "entity_"));
    if (camera || known)
        checkMove(context, time, keyframe, camera);
    for (const KeyframeAction* action : actions) {
        if (!actsOnEntity(action->code))
            checkSound(context, time, *action);
        else if (camera)
            context.add(Severity::ERROR, action->row, time,
                        keyword(action->code) + " acts on an entity, and \"" +
                            PlaybackController::CAMERA_ENTITY + "\" is none: it does nothing");
        else if (known)
            checkAction(context, time, keyframe, *action);
    }
}

void ScriptChecker::checkAction(Context& context, float time, const Keyframe& keyframe,
                                const KeyframeAction& action) const {
    const std::string& name = action.name;
    switch (action.code) {
    case KeyframeActionType::AttachToBone:
        checkBone(context, time, keyframe, action);
        return;
    case KeyframeActionType::DetachFromBone:
        checkDetach(context, time, keyframe, action);
        return;
    case KeyframeActionType::AttachToSceneNode: {
        if (scene.nodes.count(name) != 0)
            return;
        const bool prefixed = name.rfind("node_", 0) != 0 && scene.nodes.count("node_" + name);
        context.add(Severity::ERROR, action.row, time,
                    "there is no scene node " + quoted(name) +
                        (prefixed ? " (did you mean \"node_" + name +
                                        "\"? scene nodes carry the prefix \"node_\")"
                                  : NameSuggestion::of(name, scene.nodes)));
        return;
    }
    default:
        break;
    }
    // The rest name an animation of the entity.
    const SceneInventory::Entity& entity = scene.entities.at(keyframe.entity);
    if (entity.animations.count(name) == 0) {
        context.add(Severity::ERROR, action.row, time,
                    keyframe.entity + " has no animation " + quoted(name) +
                        NameSuggestion::of(name, entity.animations));
        return;
    }
    const Pair animation{keyframe.entity, name};
    if (action.code == KeyframeActionType::PlayTarget && context.played.count(animation) == 0)
        context.add(Severity::WARNING, action.row, time,
                    "PLAYTARGET stops " + quoted(name) + " of " + keyframe.entity +
                        ", which no keyframe plays");
    if (action.code == KeyframeActionType::WeightSlide && action.value != 0.0f) {
        const auto target = context.firstTargets.find(animation);
        if (target == context.firstTargets.end() || target->second > time)
            context.add(Severity::WARNING, action.row, time,
                        "WEIGHTSLIDE of " + quoted(name) +
                            " has no WEIGHTSLIDETARGET by this time: the weight changes "
                            "without limit");
    }
}

void ScriptChecker::checkBone(Context& context, float time, const Keyframe& keyframe,
                              const KeyframeAction& action) const {
    const auto [bone, holderName] = boneAndHolder(action.name);
    if (holderName == keyframe.entity) {
        context.add(Severity::ERROR, action.row, time,
                    keyframe.entity + " cannot hang on its own bone " + quoted(bone));
        return;
    }
    const auto holder = scene.entities.find(holderName);
    if (holder == scene.entities.end()) {
        context.add(Severity::ERROR, action.row, time,
                    "the holder " + quoted(holderName) + " is not in the scene" +
                        NameSuggestion::of(holderName, scene.entityNames, "entity_"));
    } else if (!holder->second.skeleton) {
        context.add(Severity::ERROR, action.row, time,
                    holderName + " has no skeleton to hang " + keyframe.entity + " on");
    } else if (holder->second.bones.count(bone) == 0) {
        context.add(Severity::ERROR, action.row, time,
                    holderName + " has no bone " + quoted(bone) +
                        NameSuggestion::of(bone, holder->second.bones));
    }
}

void ScriptChecker::checkDetach(Context& context, float time, const Keyframe& keyframe,
                                const KeyframeAction& action) const {
    const Moment now{time, action.row};
    std::set<std::string> objects;
    for (const auto& [pair, moments] : context.hung) {
        if (pair.first != keyframe.entity)
            continue;
        objects.insert(pair.second);
        if (pair.second == action.name)
            for (const Moment& moment : moments)
                if (moment.before(now))
                    return;
    }
    context.add(Severity::ERROR, action.row, time,
                quoted(action.name) + " does not hang on a bone of " + keyframe.entity +
                    " before this time" + NameSuggestion::of(action.name, objects));
}

void ScriptChecker::checkSound(Context& context, float time, const KeyframeAction& action) const {
    if ((action.code != KeyframeActionType::PlaySound &&
         action.code != KeyframeActionType::StopSound) ||
        sounds.finds(action.name))
        return;
    context.add(Severity::ERROR, action.row, time, sounds.notFound(action.name));
}

void ScriptChecker::checkMove(Context& context, float time, const Keyframe& keyframe,
                              bool camera) const {
    const FloatVector3& velocity = keyframe.velocity;
    const FloatVector3& target = keyframe.velocityTarget;
    // An object's target of (0, 0, 0) means none; the camera's is a place like any other.
    if (isZero(velocity) || (!camera && isZero(target)))
        return;
    const FloatVector3 way{target.x - keyframe.position.x, target.y - keyframe.position.y,
                           target.z - keyframe.position.z};
    const double along = static_cast<double>(velocity.x) * way.x +
                         static_cast<double>(velocity.y) * way.y +
                         static_cast<double>(velocity.z) * way.z;
    if (isZero(way) || along > 0.0)
        return;
    context.add(Severity::WARNING, keyframe.row, time,
                "the move target " + vectorText(target) + " is not reached: the velocity " +
                    vectorText(velocity) + " leads away from it");
}

} // namespace corvane::lint
