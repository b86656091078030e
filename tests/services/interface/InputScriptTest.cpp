#include <gtest/gtest.h>
#include <tinyxml.h>

#include "services/interface/InputScript.h"

namespace corvane {
namespace {

using Entry = InputScript::Entry;

InputScript parsed(const char* text, std::string* errors = nullptr) {
    TiXmlDocument document;
    document.Parse(text);
    InputScript script;
    ::testing::internal::CaptureStderr();
    script.parse(document.RootElement());
    const std::string written = ::testing::internal::GetCapturedStderr();
    if (errors != nullptr)
        *errors = written;
    return script;
}

std::vector<std::string> names(const std::vector<Entry>& entries) {
    std::vector<std::string> result;
    for (const Entry& entry : entries)
        result.push_back(entry.name);
    return result;
}

TEST(InputScript, EntriesFallDueInTheFrameThatReachesTheirTimeInTimeOrder) {
    InputScript script = parsed(R"(<script>
        <action time="1" name="B"/>
        <action time="0" name="A"/>
        <click time="1" element="ZORV/EscapeMenu/Resume"/>
        <action time="2.5" name="C"/>
      </script>)");
    ASSERT_EQ(script.entries().size(), 4u);
    EXPECT_EQ(names(script.advance(0.5)), std::vector<std::string>{"A"});
    EXPECT_TRUE(script.advance(0.25).empty());
    // Equal times keep the document's order.
    EXPECT_EQ(names(script.advance(0.25)),
              (std::vector<std::string>{"B", "ZORV/EscapeMenu/Resume"}));
    EXPECT_EQ(names(script.advance(10.0)), std::vector<std::string>{"C"});
    EXPECT_TRUE(script.advance(10.0).empty());
    EXPECT_DOUBLE_EQ(script.now(), 21.0);
}

TEST(InputScript, ActionsWithADurationAreHeldThatLong) {
    InputScript script =
        parsed("<script><action time=\"1\" name=\"EXIT\" duration=\"0.6\"/></script>");
    script.advance(1.0);
    EXPECT_EQ(script.heldActions(), std::vector<std::string>{"EXIT"});
    script.advance(0.5);
    EXPECT_EQ(script.heldActions(), std::vector<std::string>{"EXIT"});
    script.advance(0.1);
    EXPECT_TRUE(script.heldActions().empty());
}

TEST(InputScript, ClickKinds) {
    InputScript script = parsed(R"(<script>
        <click time="1" element="ZORV/About" box="close"/>
        <click time="2" x="0.25" y="0.75"/>
      </script>)");
    ASSERT_EQ(script.entries().size(), 2u);
    EXPECT_EQ(script.entries()[0].kind, Entry::CLICK_CLOSE_BOX);
    EXPECT_EQ(script.entries()[1].kind, Entry::CLICK_AT);
    EXPECT_FLOAT_EQ(script.entries()[1].x, 0.25f);
    EXPECT_FLOAT_EQ(script.entries()[1].y, 0.75f);
}

TEST(InputScript, EntriesItCannotUseAreSkippedWithOneLineEach) {
    const struct {
        const char* entry;
        const char* error;
    } rows[] = {
        {"<action name=\"X\"/>", "needs a \"time\" of 0 seconds or more"},
        {"<action time=\"soon\" name=\"X\"/>", "needs a \"time\" of 0 seconds or more"},
        {"<action time=\"-1\" name=\"X\"/>", "needs a \"time\" of 0 seconds or more"},
        {"<action time=\"nan\" name=\"X\"/>", "needs a \"time\" of 0 seconds or more"},
        {"<action time=\"1\"/>", "needs a \"name\""},
        {"<action time=\"1\" name=\"X\" duration=\"long\"/>",
         "has a \"duration\" that is not 0 seconds or more"},
        {"<click time=\"1\"/>", "needs an \"element\", or \"x\" and \"y\" between 0 and 1"},
        {"<click time=\"1\" x=\"2\" y=\"0\"/>",
         "needs an \"element\", or \"x\" and \"y\" between 0 and 1"},
        {"<press time=\"1\"/>", "is not an \"action\" or a \"click\""},
    };
    for (const auto& row : rows) {
        std::string errors;
        const InputScript script =
            parsed(("<script>\n" + std::string(row.entry) + "</script>").c_str(), &errors);
        EXPECT_TRUE(script.entries().empty()) << row.entry;
        const std::string kind =
            std::string(row.entry).substr(1, std::string(row.entry).find(' ') - 1);
        EXPECT_EQ(errors, "InputScript::parse(): the \"" + kind + "\" element of row 2 " +
                              row.error + "; it is skipped\n")
            << row.entry;
    }
}

} // namespace
} // namespace corvane
