#include <gtest/gtest.h>
#include <sstream>
#include <tinyxml.h>

#include "playback/KeyframeDiagnostics.h"
#include "playback/KeyframeLoader.h"
#include "tests/playback/RecordingFakes.h"

namespace corvane {
namespace {

using testing::keyframesXml;
using testing::PlaybackRig;
using testing::TemporaryFolder;

// "time entity p(x,y,z) v(...) t(...) o(w,x,y,z) s(w,x,y,z)*multiplier [code name value; ...]"
std::string describe(const KeyframeMap& keyframes) {
    std::ostringstream text;
    const auto vector = [&](const char* tag, const FloatVector3& v) {
        text << ' ' << tag << '(' << v.x << ',' << v.y << ',' << v.z << ')';
    };
    const auto quaternion = [&](const char* tag, const FloatQuaternion& q) {
        text << ' ' << tag << '(' << q.w << ',' << q.x << ',' << q.y << ',' << q.z << ')';
    };
    for (const auto& [time, keyframe] : keyframes) {
        text << time << ' ' << keyframe.entity;
        vector("p", keyframe.position);
        vector("v", keyframe.velocity);
        vector("t", keyframe.velocityTarget);
        quaternion("o", keyframe.orientation);
        quaternion("s", keyframe.slerpTarget);
        text << '*' << keyframe.multiplier << " [";
        for (const KeyframeAction& action : keyframe.actions)
            text << static_cast<int>(action.code) << ' ' << action.name << ' ' << action.value
                 << ';';
        text << "]\n";
    }
    return text.str();
}

struct Loaded {
    bool result;
    std::string keyframes;
    std::string diagnostics;
};

Loaded load(const std::string& content) {
    TemporaryFolder folder;
    const std::string file = folder.write("keyframes.xml", content);
    KeyframeMap keyframes;
    ::testing::internal::CaptureStderr();
    const bool result = KeyframeLoader::load(file, keyframes);
    std::string diagnostics = ::testing::internal::GetCapturedStderr();
    // Names in the lines are the ones given; make them independent of the folder.
    for (std::size_t at; (at = diagnostics.find(file)) != std::string::npos;)
        diagnostics.replace(at, file.size(), "keyframes.xml");
    return {result, describe(keyframes), diagnostics};
}

TEST(KeyframeLoader, ReadsEveryPartWithDefaultsAndTheActionsLastFirstAndNamesWhatItSkips) {
    const Loaded loaded = load(keyframesXml(R"(
      <keyframe entity="entity_door" time="2.5" other="ignored" xmlns:ed="urn:ed" ed:lock="1">
        <position x="1" y="2" z="3"/><position x="9" y="9" z="9"/>
        <velocity x="0.5"/><velocitytarget y="-4"/>
        <orientation w="0" x="1" z="0.5"/>
        <slerp w="0.5" x="0.5" y="0.5" z="0.5" multiplier="2"/>
        <animation name="open" type="PLAY" value="1.5"/>
        <animation name="hand:entity_robot" type="ATTATCHTOBONE"/>
        <animation type="STATUSTEXT" value="7"/>
        <unknown/>
      </keyframe>
      <keyframe time="1"><nested><animation name="deep" type="PLAY"/></nested></keyframe>)"));
    EXPECT_TRUE(loaded.result);
    EXPECT_EQ(loaded.diagnostics,
              "KeyframeLoader::load(): keyframes.xml row 2: keyframe at 2.5 has an unknown "
              "attribute \"other\" in \"keyframe\"; it is ignored\n"
              "KeyframeLoader::load(): keyframes.xml row 10: keyframe at 2.5 has an unknown "
              "element \"unknown\" in \"keyframe\"; it is ignored\n"
              "KeyframeLoader::load(): keyframes.xml row 12: keyframe at 1 has an unknown element "
              "\"nested\" in \"keyframe\"; it is ignored\n");
    EXPECT_EQ(loaded.keyframes,
              "1  p(0,0,0) v(0,0,0) t(0,0,0) o(1,0,0,0) s(1,0,0,0)*0 []\n"
              "2.5 entity_door p(1,2,3) v(0.5,0,0) t(0,-4,0) o(0,1,0,0.5) s(0.5,0.5,0.5,0.5)*2"
              " [13  7;8 hand:entity_robot 0;0 open 1.5;]\n");
}

TEST(KeyframeLoader, OrdersByTimeKeepingEqualTimesInFileOrder) {
    PlaybackRig rig;
    rig.start(keyframesXml(R"(<keyframe entity="a" time="3"/><keyframe entity="b" time="1"/>
        <keyframe entity="c" time="3"/><keyframe entity="d" time="-2"/>
        <keyframe entity="e"/><keyframe entity="f" time="3"/><keyframe entity="g" time="2"/>)"));
    std::string order;
    for (const auto& [time, keyframe] : rig.controller.getPendingKeyframes())
        order += std::to_string(static_cast<int>(time)) + keyframe.entity + " ";
    EXPECT_EQ(order, "-2d 0e 1b 2g 3a 3c 3f ");
    // The largest time, not the last one in the file.
    EXPECT_EQ(rig.controller.getDuration(), 3.0f);
}

TEST(KeyframeLoader, NumbersReadExactlyAsTheParsersOwnQueryReadsThem) {
    const char* texts[] = {"1",
                           "-2.5",
                           "3e2",
                           "-3E-2",
                           ".5",
                           "5.",
                           "+1",
                           " 2",
                           "0x10",
                           "12abc",
                           "1e-320",
                           "0.1",
                           "1e38",
                           "-0",
                           "",
                           "-",
                           ".",
                           "7 ",
                           "1.17549435e-38",
                           "123456789.123456789",
                           "3.4028235e38"};
    TemporaryFolder folder;
    for (const char* text : texts) {
        const std::string file =
            folder.write("keyframes.xml", keyframesXml("<keyframe time=\"1\"><position x=\"" +
                                                       std::string(text) + "\"/></keyframe>"));
        KeyframeMap keyframes;
        ASSERT_TRUE(KeyframeLoader::load(file, keyframes));
        ASSERT_EQ(keyframes.size(), 1u) << '"' << text << '"';
        TiXmlElement element("position");
        element.SetAttribute("x", text);
        double expected = 0.0;
        element.QueryDoubleAttribute("x", &expected);
        EXPECT_EQ(keyframes.begin()->second.position.x, static_cast<float>(expected))
            << '"' << text << '"';
    }
}

TEST(KeyframeLoader, EveryKeywordHasItsCode) {
    std::istringstream keywords("PLAY PLAYTARGET SETAPPLIED SETLOOP SETWEIGHT SETTIME WEIGHTSLIDE "
                                "WEIGHTSLIDETARGET ATTATCHTOBONE DETATCHFROMBONE "
                                "ATTATCHTOSCENENODE PLAYSOUND STOPSOUND STATUSTEXT");
    int code = 0;
    for (std::string keyword; keywords >> keyword; ++code) {
        KeyframeActionType type{};
        ASSERT_TRUE(keyframeActionTypeFromKeyword(keyword, type)) << keyword;
        EXPECT_EQ(static_cast<int>(type), code);
    }
    EXPECT_EQ(code, 14);
}

TEST(KeyframeLoader, BadPartsAreSkippedAloneWithOneLineEach) {
    const std::string good = "<keyframe entity=\"kept\" time=\"4\"/>";
    const std::string kept = "4 kept p(0,0,0) v(0,0,0) t(0,0,0) o(1,0,0,0) s(1,0,0,0)*0 []\n";
    const auto skippedTime = [](const std::string& time) {
        return "KeyframeLoader::load(): keyframes.xml row 1: keyframe time \"" + time +
               "\" is not a finite number; keyframe skipped\n";
    };
    const struct {
        const char* name;
        std::string keyframe;
        std::string diagnostics;
    } rows[] = {
        {"not a number", "<keyframe time=\"NaN\"/>" + good, skippedTime("NaN")},
        {"infinite", "<keyframe time=\"inf\"/>" + good, skippedTime("inf")},
        {"minus infinite", "<keyframe time=\"-inf\"/>" + good, skippedTime("-inf")},
        {"text", "<keyframe time=\"soon\"/>" + good, skippedTime("soon")},
        {"beyond float", "<keyframe time=\"1e300\"/>" + good, skippedTime("1e300")},
        {"unknown type",
         "<keyframe time=\"4\" entity=\"kept\">\n<animation name=\"x\" type=\"PLAYY\"/></keyframe>",
         "KeyframeLoader::load(): keyframes.xml row 2: keyframe at 4 has an animation of unknown "
         "type \"PLAYY\"; action skipped\n"},
        {"keyword in lower case",
         "<keyframe time=\"4\" entity=\"kept\">\n<animation type=\"play\"/></keyframe>",
         "KeyframeLoader::load(): keyframes.xml row 2: keyframe at 4 has an animation of unknown "
         "type \"play\"; action skipped\n"},
        {"no type", "<keyframe time=\"4\" entity=\"kept\">\n\n<animation name=\"x\"/></keyframe>",
         "KeyframeLoader::load(): keyframes.xml row 3: keyframe at 4 has an animation without "
         "\"type\"; action skipped\n"},
        {"misspelt decimal",
         "<keyframe time=\"4\" entity=\"kept\">\n<velocity xx=\"1\" ed:x=\"1\"/></keyframe>",
         "KeyframeLoader::load(): keyframes.xml row 2: keyframe at 4 has an unknown attribute "
         "\"xx\" in \"velocity\" (did you mean \"x\"?); it is ignored\n"},
        {"misspelt text of an animation",
         "<keyframe time=\"4\" entity=\"kept\">\n<animation type=\"PLAY\" value=\"inf\" "
         "nmae=\"x\"/></keyframe>",
         "KeyframeLoader::load(): keyframes.xml row 2: keyframe at 4 has an unknown attribute "
         "\"nmae\" in \"animation\" (did you mean \"name\"?); it is ignored\n"
         "KeyframeLoader::load(): keyframes.xml row 2: keyframe at 4 has an animation value "
         "\"inf\" that is not finite; action skipped\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const Loaded loaded = load(keyframesXml(row.keyframe));
        EXPECT_TRUE(loaded.result);
        EXPECT_EQ(loaded.keyframes, kept);
        EXPECT_EQ(loaded.diagnostics, row.diagnostics);
    }
}

// Every problem as "row|time|message and hint|shown".
class RecordedProblems : public DiagnosticSink {
public:
    void report(const Diagnostic& problem) override {
        text += std::to_string(problem.line) + '|' +
                (problem.time ? KeyframeDiagnostics::formatTime(*problem.time) : "") + '|' +
                problem.message + problem.hint + '|' + (problem.checkOnly ? "silent" : "shown") +
                '\n';
    }
    void list(std::string_view) override {}
    std::string text;
};

TEST(KeyframeLoader, EmptyTurnsReadAsTheIdentityAndLooseNumbersReachOnlyAChecker) {
    const std::string script = keyframesXml("<keyframe entity=\"e\" time=\"2s\">\n"
                                            "<position x=\"left\" y=\" 3\"/>\n"
                                            "<orientation/>\n"
                                            "<slerp x=\"0\" multiplier=\"10\"/>\n"
                                            "<animation type=\"PLAYY\"/>\n"
                                            "<animation name=\"a\" type=\"PLAY\" value=\"1x\"/>"
                                            "</keyframe>");
    const Loaded loaded = load(script);
    EXPECT_EQ(loaded.keyframes,
              "2 e p(0,3,0) v(0,0,0) t(0,0,0) o(1,0,0,0) s(1,0,0,0)*10 [0 a 1;]\n");
    EXPECT_EQ(loaded.diagnostics,
              "KeyframeLoader::load(): keyframes.xml row 3: keyframe at 2 has an \"orientation\" "
              "quaternion of length zero; it reads as the identity\n"
              "KeyframeLoader::load(): keyframes.xml row 4: keyframe at 2 has a \"slerp\" "
              "quaternion of length zero; it reads as the identity\n"
              "KeyframeLoader::load(): keyframes.xml row 5: keyframe at 2 has an animation of "
              "unknown type \"PLAYY\"; action skipped\n");

    TemporaryFolder folder;
    KeyframeMap keyframes;
    RecordedProblems problems;
    EXPECT_TRUE(KeyframeLoader::load(folder.write("keyframes.xml", script), keyframes, problems));
    EXPECT_EQ(problems.text,
              "1|2|\"time\" of \"keyframe\" is \"2s\", not a plain number; it reads as 2|silent\n"
              "2|2|\"x\" of \"position\" is \"left\", not a number; it reads as 0|silent\n"
              "2|2|\"y\" of \"position\" is \" 3\", not a plain number; it reads as 3|silent\n"
              "3|2|has an \"orientation\" quaternion of length zero; it reads as the identity|"
              "shown\n"
              "4|2|has a \"slerp\" quaternion of length zero; it reads as the identity|shown\n"
              "5|2|has an animation of unknown type \"PLAYY\"; action skipped (did you mean "
              "\"PLAY\"?)|shown\n"
              "6|2|\"value\" of \"animation\" is \"1x\", not a plain number; it reads as 1|"
              "silent\n");
    ASSERT_EQ(keyframes.size(), 1u);
    EXPECT_EQ(keyframes.begin()->second.row, 1);
    EXPECT_EQ(keyframes.begin()->second.actions.front().row, 6);
}

TEST(KeyframeLoader, UnusableFilesAddNothingAndOnlyAMissingOneIsSilent) {
    const Loaded broken = load("<keyframes>\n  <keyframe time=\"1\">\n</keyframes>");
    EXPECT_FALSE(broken.result);
    EXPECT_EQ(broken.keyframes, "");
    EXPECT_EQ(broken.diagnostics, "KeyframeLoader::load(): keyframes.xml does not parse: Error "
                                  "reading end tag. (row 3, column 11); \"keyframe\" opened at "
                                  "row 2, column 3 is not closed\n");
    EXPECT_EQ(load("").diagnostics, "KeyframeLoader::load(): keyframes.xml does not parse: "
                                    "Error document empty. (row 0, column 0)\n");
    for (const char* empty : {"<other><keyframe time=\"1\"/></other>", "<keyframes/>"}) {
        const Loaded loaded = load(empty);
        EXPECT_TRUE(loaded.result);
        EXPECT_EQ(loaded.keyframes + loaded.diagnostics, "");
    }

    TemporaryFolder folder;
    KeyframeMap keyframes;
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(KeyframeLoader::load(folder.path() + "/missing.xml", keyframes));
    folder.write("folder.xml/inside", "");
    EXPECT_FALSE(KeyframeLoader::load(folder.path() + "/folder.xml", keyframes));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "KeyframeLoader::load(): " + folder.path() + "/folder.xml is not a file\n");
    EXPECT_TRUE(keyframes.empty());

    // Playback then runs empty, with the duration untouched.
    PlaybackRig rig;
    ::testing::internal::CaptureStderr();
    rig.start("<keyframes>");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "KeyframeLoader::load(): keyframes.xml does not parse: Error reading Element value. "
              "(row 0, column 0); \"keyframes\" opened at row 1, column 1 is not closed\n");
    EXPECT_TRUE(rig.controller.getPendingKeyframes().empty());
    EXPECT_EQ(rig.controller.getDuration(), 0.0f);
}

} // namespace
} // namespace corvane
