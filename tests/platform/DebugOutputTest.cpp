#include <gtest/gtest.h>

#include "platform/DebugOutput.h"

namespace corvane {
namespace {

TEST(DebugOutput, WritesTextUnchangedAndLinesWithOneLineFeed) {
    ::testing::internal::CaptureStderr();
    DebugOutput::write("name.scene");
    DebugOutput::write("\n");
    DebugOutput::line("Entity Hit Target");
    DebugOutput::write(std::string("a\0b", 3));
    const char expected[] = "name.scene\nEntity Hit Target\na\0b";
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              std::string(expected, sizeof(expected) - 1));
}

} // namespace
} // namespace corvane
