// A recorded keyframe goes into the script's text at its place in time, indented as the
// file is, and nothing else of the file changes.
#include <gtest/gtest.h>

#include "playback/CameraKeyRecorder.h"
#include "playback/ScriptInsertion.h"

namespace corvane {
namespace {

const ScriptInsertion::Lines KEY = CameraKeyRecorder::keyframeLines(
    1.23449f, FloatVector3{0.5f, -0.0f, 30.0f}, FloatQuaternion{0.9968f, -0.0802f, 0.0f, 0.0f});

// The keyframe's lines as the rows below expect them, with these indentations.
std::string key(const std::string& indent, const std::string& childIndent,
                const std::string& end = "\n") {
    return indent + "<keyframe entity=\"CAMERA\" time=\"1.234\">" + end + childIndent +
           "<position x=\"0.5\" y=\"0\" z=\"30\"/>" + end + childIndent +
           "<orientation w=\"0.9968\" x=\"-0.0802\" y=\"0\" z=\"0\"/>" + end + indent +
           "</keyframe>";
}

TEST(ScriptInsertion, GoesInTimeOrderWithTheFilesIndentationAndLeavesTheRestAsItWas) {
    const struct Row {
        const char* what;
        std::string text;
        std::string expected;
        int row;
    } rows[] = {
        {"between, before the next section's comment",
         "<?xml version=\"1.0\"?>\n<keyframes>\n  <keyframe time=\"0\">\n    <position/>\n"
         "  </keyframe>\n  <keyframe time=\"1.234\"/>\n\n  <!-- later -->\n"
         "  <keyframe time=\"2\"/>\n</keyframes>\n",
         "<?xml version=\"1.0\"?>\n<keyframes>\n  <keyframe time=\"0\">\n    <position/>\n"
         "  </keyframe>\n  <keyframe time=\"1.234\"/>\n" +
             key("  ", "    ") + "\n\n  <!-- later -->\n  <keyframe time=\"2\"/>\n</keyframes>\n",
         7},
        {"before every keyframe, in a file of tabs and CRLF",
         "\xEF\xBB\xBF<keyframes>\r\n\t<keyframe time=\"5\">\r\n\t\t\t<position/>\r\n\t</keyframe>"
         "\r\n</keyframes>",
         "\xEF\xBB\xBF<keyframes>\r\n" + key("\t", "\t\t\t", "\r\n") +
             "\r\n\t<keyframe time=\"5\">\r\n\t\t\t<position/>\r\n\t</keyframe>\r\n</keyframes>",
         2},
        {"after the last, at the end of the root",
         "<keyframes>\n    <keyframe time=\"0\"/><!-- start -->\n</keyframes>",
         "<keyframes>\n    <keyframe time=\"0\"/><!-- start -->\n" + key("    ", "      ") +
             "\n</keyframes>",
         3},
        {"a script without keyframes", "<keyframes>\n</keyframes>\n",
         "<keyframes>\n" + key("  ", "    ") + "\n</keyframes>\n", 2},
        {"on one line", "<keyframes><keyframe time=\"9\"/></keyframes>",
         "<keyframes>" + key("", "  ") + "\n<keyframe time=\"9\"/></keyframes>", 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::string result;
        int line = 0;
        std::string problem;
        ASSERT_TRUE(ScriptInsertion::insert(row.text, 1.234f, KEY, result, line, problem))
            << problem;
        EXPECT_EQ(result, row.expected);
        EXPECT_EQ(line, row.row);
    }
}

TEST(ScriptInsertion, ATextItCannotPlaceAKeyframeInIsLeftAlone) {
    const struct Row {
        std::string text;
        const char* problem;
    } rows[] = {
        {"<keyframes><keyframe time=\"0\">", "does not parse: "},
        {"<keyframes/>", "has no place for keyframes that can be found"},
        {std::string("\xFF\xFE<\0k\0/\0>\0", 10), "is not saved as UTF-8 or in single bytes"},
    };
    for (const Row& row : rows) {
        std::string result = "untouched";
        int line = 0;
        std::string problem;
        EXPECT_FALSE(ScriptInsertion::insert(row.text, 1.0f, KEY, result, line, problem));
        EXPECT_EQ(problem.substr(0, std::string(row.problem).size()), row.problem) << problem;
        EXPECT_EQ(result, "untouched");
    }
}

} // namespace
} // namespace corvane
