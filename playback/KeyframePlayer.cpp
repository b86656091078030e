#include "playback/KeyframePlayer.h"

#include <iterator>
#include <utility>
#include <vector>

#include "framework/ISceneObject.h"
#include "framework/ISound.h"
#include "framework/OverlayElementNames.h"
#include "platform/DebugOutput.h"
#include "playback/OverlayCalls.h"

namespace corvane {

const char* const KeyframePlayer::CAMERA_ENTITY = "CAMERA";

namespace {

const FloatVector3 STANDING{0.0f, 0.0f, 0.0f};

bool isSound(const KeyframeAction& action) {
    return action.code == KeyframeActionType::PlaySound ||
           action.code == KeyframeActionType::StopSound;
}

} // namespace

void KeyframePlayer::load() {
    ++version;
    reportedLines.clear();
    script.load(pendingKeyframes);
    if (!pendingKeyframes.empty())
        duration = std::prev(pendingKeyframes.end())->first;
}

bool KeyframePlayer::reload() {
    KeyframeMap reloaded;
    if (!script.load(reloaded))
        return false;
    ++version;
    pendingKeyframes = std::move(reloaded);
    reportedLines.clear();
    playedKeyframes.clear();
    duration = pendingKeyframes.empty() ? 0.0f : std::prev(pendingKeyframes.end())->first;
    return true;
}

void KeyframePlayer::advance(float seconds, bool cameraAuto, bool restarts) {
    for (ISceneAccess* scene : providers.sceneAccesses)
        scene->setTimeScale(rate);
    if (!cameraAuto)
        holdCamera();
    applyDueKeyframes(cameraAuto);
    clock += seconds * rate;
    if (pendingKeyframes.empty() && restarts) {
        // The keyframes due again are applied from the next frame on.
        clock = seconds;
        restart();
    }
}

void KeyframePlayer::holdCamera() {
    for (ICameraControl* camera : providers.cameraControls) {
        // Setting the orientation again ends a turn that a camera keyframe started.
        camera->setOrientation(camera->getOrientation());
        camera->setWorldVelocity(STANDING);
        camera->setLocalVelocity(STANDING);
    }
}

void KeyframePlayer::applyDueKeyframes(bool cameraAuto) {
    // Everything before the first keyframe at or after the clock is due, whether playback
    // is paused or not. Taking keyframes from just before that one leaves it valid.
    const KeyframeMap::iterator notDue = pendingKeyframes.lower_bound(clock);
    while (notDue != pendingKeyframes.begin()) {
        KeyframeMap::node_type node = pendingKeyframes.extract(std::prev(notDue));
        applyKeyframe(node.mapped(), cameraAuto);
        playedKeyframes.insert(std::move(node));
    }
}

void KeyframePlayer::applyKeyframe(const Keyframe& keyframe, bool cameraAuto) {
    bool found = false;
    for (ISceneAccess* scene : providers.sceneAccesses) {
        ISceneObject* object = scene->getSceneObject(keyframe.entity);
        if (object == nullptr)
            continue;
        found = true;
        for (const KeyframeAction& action : keyframe.actions)
            performOnObject(*scene, *object, keyframe, action);
        // Every keyframe places its object in full; absent elements carry their defaults.
        object->setPosition(keyframe.position);
        object->setVelocity(keyframe.velocity);
        object->setMoveTarget(keyframe.velocityTarget);
        object->setOrientation(keyframe.orientation);
        object->startRotationSlerp(keyframe.multiplier, keyframe.orientation, keyframe.slerpTarget);
    }
    if (!found && !providers.sceneAccesses.empty() && keyframe.entity != CAMERA_ENTITY &&
        keyframe.needsEntity())
        reportOnce(keyframe.row, "no scene has entity \"" + keyframe.entity +
                                     "\"; the keyframe does nothing to it");
    // A seek replays the script silently; a film's range notes what would be heard.
    if (!replaying)
        playSounds(keyframe);
    else if (replayedSounds != nullptr)
        replayedSounds->note(keyframe, replayFrame);
    // With the manual camera, camera keyframes are used up without touching the camera.
    if (cameraAuto && keyframe.entity == CAMERA_ENTITY) {
        for (ICameraControl* camera : providers.cameraControls) {
            camera->setCameraPosition(keyframe.position);
            camera->setWorldVelocity(keyframe.velocity);
            camera->setMoveTarget(keyframe.velocityTarget);
            camera->setOrientation(keyframe.orientation);
            camera->startRotationSlerp(keyframe.multiplier, keyframe.orientation,
                                       keyframe.slerpTarget);
        }
    }
    // Of several texts the last performed, the first in the file, stays visible; a seek
    // shows only the one it ends with.
    for (const KeyframeAction& action : keyframe.actions)
        if (action.code == KeyframeActionType::StatusText)
            statusText = action.name;
    if (replaying)
        return;
    for (IGuiOverlay* overlay : providers.guiOverlays)
        for (const KeyframeAction& action : keyframe.actions)
            if (action.code == KeyframeActionType::StatusText)
                setElementText(*overlay, OverlayElementNames::STATUS_CAPTION, action.name);
}

void KeyframePlayer::playSounds(const Keyframe& keyframe) {
    // Sounds that some bank has, by their place in the action list.
    std::vector<bool> heard(
        static_cast<std::size_t>(std::distance(keyframe.actions.begin(), keyframe.actions.end())));
    for (ISoundBank* bank : providers.soundBanks) {
        std::size_t index = 0;
        for (const KeyframeAction& action : keyframe.actions) {
            const std::size_t at = index++;
            if (!isSound(action))
                continue;
            ISound* sound = bank->findSound(action.name);
            if (sound == nullptr)
                continue;
            heard[at] = true;
            if (action.code == KeyframeActionType::PlaySound)
                sound->play();
            else
                sound->stop();
        }
    }
    if (providers.soundBanks.empty())
        return;
    std::size_t index = 0;
    for (const KeyframeAction& action : keyframe.actions)
        if (!heard[index++] && isSound(action))
            reportOnce(action.row,
                       "no sound bank has sound \"" + action.name + "\"; the action does nothing");
}

void KeyframePlayer::performOnObject(ISceneAccess& scene, ISceneObject& object,
                                     const Keyframe& keyframe, const KeyframeAction& action) {
    const std::string& name = action.name;
    switch (action.code) {
    case KeyframeActionType::Play:
        object.setAnimationRate(name, action.value);
        break;
    case KeyframeActionType::PlayTarget:
        object.setAnimationStopTime(name, action.value);
        break;
    case KeyframeActionType::SetApplied:
        object.setAnimationEnabled(name, action.value != 0.0f);
        break;
    case KeyframeActionType::SetLoop:
        object.setAnimationLoop(name, action.value != 0.0f);
        break;
    case KeyframeActionType::SetWeight:
        object.setAnimationWeight(name, action.value);
        break;
    case KeyframeActionType::SetTime:
        object.setAnimationTimePosition(name, action.value);
        break;
    case KeyframeActionType::WeightSlide:
        object.setWeightSlideRate(name, action.value);
        break;
    case KeyframeActionType::WeightSlideTarget:
        object.setWeightSlideTarget(name, action.value);
        break;
    case KeyframeActionType::AttachToBone: {
        // "bone:holder": this entity hangs from the holder's bone, offset by the keyframe's
        // orientation and position. A name without a colon names both.
        const std::size_t colon = name.find(':');
        const std::string bone = name.substr(0, colon);
        const std::string holderName = colon == std::string::npos ? name : name.substr(colon + 1);
        ISceneObject* holder = scene.getSceneObject(holderName);
        if (holder == &object)
            reportOnce(action.row,
                       keyframe.entity + " cannot hang on its own bone \"" + bone + "\"");
        else if (holder != nullptr)
            holder->attachToBone(bone, &object, keyframe.orientation, keyframe.position);
        else
            reportOnce(action.row, "no scene has entity \"" + holderName + "\" to hang " +
                                       keyframe.entity + " on; the action does nothing");
        break;
    }
    case KeyframeActionType::DetachFromBone:
        object.detachFromBone(name);
        break;
    case KeyframeActionType::AttachToSceneNode:
        object.attachToSceneNode(name);
        break;
    case KeyframeActionType::PlaySound:
    case KeyframeActionType::StopSound:
    case KeyframeActionType::StatusText:
        break; // not the entity's
    }
}

void KeyframePlayer::reportOnce(int row, const std::string& what) {
    std::string line = "PlaybackController::applyKeyframe(): " + script.path() + " row " +
                       std::to_string(row) + ": " + what;
    if (reportedLines.insert(line).second)
        DebugOutput::line(line);
}

void KeyframePlayer::restart() {
    // Keyframes of one time come out of the played ones in the reverse of the order in which
    // they were applied: moving them back from the end restores the pending order, so that
    // every run applies them as the first did.
    while (!playedKeyframes.empty())
        pendingKeyframes.insert(playedKeyframes.extract(std::prev(playedKeyframes.end())));
}

std::string KeyframePlayer::statusLine(const char* state) const {
    std::string line = std::string("Simulation Status: ") + state;
    if (speed != 1.0f)
        line += " (" + DebugOutput::number(speed) + "x)";
    return line;
}

} // namespace corvane
