#include <gtest/gtest.h>

#include "platform/DebugOutput.h"
#include "platform/StandardErrorCapture.h"

namespace corvane {
namespace {

TEST(StandardErrorCapture, TakesTheLinesWrittenMeanwhileAndGivesStandardErrorBack) {
    ::testing::internal::CaptureStderr();
    {
        StandardErrorCapture capture;
        DebugOutput::line("SceneLoader::load(): one");
        DebugOutput::line("two");
        EXPECT_EQ(capture.finish(), "SceneLoader::load(): one\ntwo\n");
        EXPECT_EQ(capture.finish(), "");
        DebugOutput::line("after");
        StandardErrorCapture unfinished;
        DebugOutput::line("dropped");
    }
    DebugOutput::line("restored");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "after\nrestored\n");
}

} // namespace
} // namespace corvane
