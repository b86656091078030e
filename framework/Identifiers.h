#pragma once

#include "framework/UUID.h"

namespace corvane {

// Interfaces served across library boundaries.
inline constexpr UUID IID_IUnknown =
    UUID::fromFields(0x00000000, 0x0000, 0x0000, 0xC000000000000046);
inline constexpr UUID IID_IViewerCore =
    UUID::fromFields(0x3E9F93CA, 0xB8BC, 0x4D2B, 0x939D438A8479616D);
inline constexpr UUID IID_ICameraControl =
    UUID::fromFields(0xBA006B08, 0x3CEC, 0x4BB9, 0xAC58380FDACFD35F);
inline constexpr UUID IID_ISceneAccess =
    UUID::fromFields(0x9DCE6830, 0xEBA8, 0x44A0, 0x88C1B7FE386B5E07);
inline constexpr UUID IID_IPlaybackDirector =
    UUID::fromFields(0x177D0922, 0x247F, 0x4AA5, 0x88220C7FD2AE6A63);
inline constexpr UUID IID_IPlaybackStatus =
    UUID::fromFields(0x14AB70CB, 0x5726, 0x4C96, 0xA47B6F5286E4D894);
inline constexpr UUID IID_IGuiOverlay =
    UUID::fromFields(0x0FAAF303, 0xF452, 0x4EEE, 0xA3528FC6BB2788B9);
inline constexpr UUID IID_IGuiProgressBar =
    UUID::fromFields(0x4C148809, 0xB2BF, 0x4A54, 0xA20F38D128AE7FC8);
inline constexpr UUID IID_IActionInput =
    UUID::fromFields(0x8B125698, 0x7D02, 0x4015, 0x934A83EA89D36E55);
inline constexpr UUID IID_ISoundBank =
    UUID::fromFields(0x2BE2B00B, 0x8808, 0x40ED, 0xB0295CF0A5CEEAC5);
inline constexpr UUID IID_ISceneTimeline =
    UUID::fromFields(0x77CF0780, 0x312B, 0x4F84, 0xA84E54BDC326459B);
inline constexpr UUID IID_IPlaybackTimeline =
    UUID::fromFields(0x8CE04B9E, 0xC5E9, 0x4F2F, 0x848BC296DD73DD72);
inline constexpr UUID IID_IFrameSource =
    UUID::fromFields(0x9CE9A02C, 0x0920, 0x43FD, 0x9FC08259A29EEC48);
inline constexpr UUID IID_ISoundTrack =
    UUID::fromFields(0xD256BF23, 0x8F0C, 0x41AD, 0x89545096161BACD0);
inline constexpr UUID IID_IOutputStatus =
    UUID::fromFields(0x46E4C91B, 0x8F14, 0x4EF1, 0xAE4CEB3C968EFCF2);
inline constexpr UUID IID_IPlaybackStaging =
    UUID::fromFields(0xED304BC8, 0x2F46, 0x4F1E, 0xA62A13C613A5648B);
inline constexpr UUID IID_ISoundSeek =
    UUID::fromFields(0x5915D072, 0x7EE9, 0x4328, 0xADD0978D72B14603);

// Plug-ins.
inline constexpr UUID PLUGIN_ID_SCENE_VIEWER =
    UUID::fromFields(0x00000000, 0x0000, 0x0000, 0x0001000000000001);
inline constexpr UUID PLUGIN_ID_PLAYBACK_DIRECTOR =
    UUID::fromFields(0x1AAEFA7B, 0x6803, 0x4692, 0x87BBE14BC807CB5C);
inline constexpr UUID PLUGIN_ID_USER_INTERFACE =
    UUID::fromFields(0x5D0C2A61, 0x93E4, 0x4F0B, 0x8C7A1E2B64D9F305);
inline constexpr UUID PLUGIN_ID_SOUND =
    UUID::fromFields(0xA2C94E17, 0x5B38, 0x4D6A, 0x9E01C3F7B28D4A66);
inline constexpr UUID PLUGIN_ID_FRAME_CAPTURE =
    UUID::fromFields(0x6F1B8D3E, 0x2A47, 0x4C95, 0xB3D8057E9A1C62F4);

// Plug-in kinds: the first 15 bytes are zero, the last one is a small number.
inline constexpr UUID KIND_ID_VIEWER = UUID::fromFields(0, 0, 0, 0x0000000000000001);
inline constexpr UUID KIND_ID_USER_INTERFACE = UUID::fromFields(0, 0, 0, 0x0000000000000002);
inline constexpr UUID KIND_ID_SOUND = UUID::fromFields(0, 0, 0, 0x0000000000000003);
inline constexpr UUID KIND_ID_PLAYBACK = UUID::fromFields(0, 0, 0, 0x0000000000000004);
inline constexpr UUID KIND_ID_FRAME_CAPTURE = UUID::fromFields(0, 0, 0, 0x0000000000000005);

} // namespace corvane
