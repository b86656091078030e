#include "playback/ReplayedSounds.h"

#include "framework/ISound.h"
#include "framework/ISoundSeek.h"
#include "framework/Identifiers.h"

namespace corvane {

void ReplayedSounds::note(const Keyframe& keyframe, std::uint64_t frame) {
    for (const KeyframeAction& action : keyframe.actions) {
        if (action.code == KeyframeActionType::PlaySound)
            playing[action.name] = frame;
        else if (action.code == KeyframeActionType::StopSound)
            playing.erase(action.name);
    }
}

void ReplayedSounds::resume(const ProviderList<ISoundBank>& banks, std::uint64_t frames,
                            double seconds) {
    for (ISoundBank* bank : banks)
        for (const auto& [name, frame] : playing) {
            ISound* sound = bank->findSound(name);
            void* seekable = nullptr;
            if (sound == nullptr || sound->QueryInterface(IID_ISoundSeek, &seekable) != S_OK)
                continue;
            ISoundSeek& seek = *static_cast<ISoundSeek*>(seekable);
            seek.playFrom(static_cast<double>(frames - frame) * seconds);
            seek.Release();
        }
    playing.clear();
}

} // namespace corvane
