#include <gtest/gtest.h>

#include "framework/Identifiers.h"

namespace corvane {
namespace {

TEST(UUID, StoresTheFirstThreeGroupsLittleEndianAndTheRestInOrder) {
    const std::uint8_t expected[16] = {0xCA, 0x93, 0x9F, 0x3E, 0xBC, 0xB8, 0x2B, 0x4D,
                                       0x93, 0x9D, 0x43, 0x8A, 0x84, 0x79, 0x61, 0x6D};
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(IID_IViewerCore.bytes[i], expected[i]) << "byte " << i;
}

TEST(UUID, EveryNamedIdReadsAsWrittenAndParsesBack) {
    const struct {
        UUID id;
        const char* text;
    } rows[] = {
        {IID_IUnknown, "{00000000-0000-0000-C000-000000000046}"},
        {IID_IViewerCore, "{3E9F93CA-B8BC-4D2B-939D-438A8479616D}"},
        {IID_ICameraControl, "{BA006B08-3CEC-4BB9-AC58-380FDACFD35F}"},
        {IID_ISceneAccess, "{9DCE6830-EBA8-44A0-88C1-B7FE386B5E07}"},
        {IID_IPlaybackDirector, "{177D0922-247F-4AA5-8822-0C7FD2AE6A63}"},
        {IID_IPlaybackStatus, "{14AB70CB-5726-4C96-A47B-6F5286E4D894}"},
        {IID_IGuiOverlay, "{0FAAF303-F452-4EEE-A352-8FC6BB2788B9}"},
        {IID_IGuiProgressBar, "{4C148809-B2BF-4A54-A20F-38D128AE7FC8}"},
        {IID_IActionInput, "{8B125698-7D02-4015-934A-83EA89D36E55}"},
        {IID_ISoundBank, "{2BE2B00B-8808-40ED-B029-5CF0A5CEEAC5}"},
        {IID_IFrameSource, "{9CE9A02C-0920-43FD-9FC0-8259A29EEC48}"},
        {IID_ISoundTrack, "{D256BF23-8F0C-41AD-8954-5096161BACD0}"},
        {IID_ISoundSeek, "{5915D072-7EE9-4328-ADD0-978D72B14603}"},
        {PLUGIN_ID_SCENE_VIEWER, "{00000000-0000-0000-0001-000000000001}"},
        {PLUGIN_ID_PLAYBACK_DIRECTOR, "{1AAEFA7B-6803-4692-87BB-E14BC807CB5C}"},
        {KIND_ID_VIEWER, "{00000000-0000-0000-0000-000000000001}"},
        {KIND_ID_PLAYBACK, "{00000000-0000-0000-0000-000000000004}"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.id.toString(), row.text);
        UUID parsed{};
        ASSERT_TRUE(UUID::parse(row.text, parsed)) << row.text;
        EXPECT_EQ(parsed, row.id) << row.text;
    }
}

TEST(UUID, ParseAcceptsLowerCaseDigits) {
    UUID parsed{};
    ASSERT_TRUE(UUID::parse("{3e9f93ca-b8bc-4d2b-939d-438a8479616d}", parsed));
    EXPECT_EQ(parsed, IID_IViewerCore);
}

TEST(UUID, ParseRejectsEverythingButTheBracedFormAndLeavesTheOutputAlone) {
    const char* rows[] = {
        "",
        "3E9F93CA-B8BC-4D2B-939D-438A8479616D",   // no braces
        "{3E9F93CA-B8BC-4D2B-939D-438A8479616D",  // no closing brace
        "{3E9F93CA-B8BC-4D2B-939D-438A8479616}",  // one digit short
        "{3E9F93CAB-8BC-4D2B-939D-438A8479616D}", // dash in the wrong place
        "{3E9F93CA-B8BC-4D2B-939D-438A8479616G}", // not a hex digit
        "{3E9F93CA B8BC-4D2B-939D-438A8479616D}", // space for a dash
        "{3E9F93CA-B8BC-4D2B-939D-438A8479616D} ",
    };
    for (const char* text : rows) {
        UUID out = IID_ISoundBank;
        EXPECT_FALSE(UUID::parse(text, out)) << '"' << text << '"';
        EXPECT_EQ(out, IID_ISoundBank) << '"' << text << '"';
    }
}

TEST(UUID, EqualityLooksAtEveryByte) {
    for (int i = 0; i < 16; ++i) {
        UUID changed = IID_ICameraControl;
        changed.bytes[i] ^= 0x01;
        EXPECT_NE(changed, IID_ICameraControl) << "byte " << i;
    }
    EXPECT_NE(IID_IViewerCore, IID_ICameraControl);
}

} // namespace
} // namespace corvane
