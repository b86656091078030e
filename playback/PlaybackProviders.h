#pragma once

#include "framework/IActionInput.h"
#include "framework/ICameraControl.h"
#include "framework/IGuiOverlay.h"
#include "framework/ISceneAccess.h"
#include "framework/ISceneTimeline.h"
#include "framework/ISoundBank.h"
#include "framework/ProviderList.h"

namespace corvane {

// The interfaces the playback calls, one list of providers each, found through the host and
// shared by the keyframe player, the menu and the timeline.
struct PlaybackProviders {
    ProviderList<IActionInput> actionInputs;
    ProviderList<ICameraControl> cameraControls;
    ProviderList<ISceneAccess> sceneAccesses;
    ProviderList<IGuiOverlay> guiOverlays;
    ProviderList<ISoundBank> soundBanks;
    // Bound on first need: a viewer without it leaves seeking unavailable.
    ProviderList<ISceneTimeline> sceneTimelines;
};

} // namespace corvane
