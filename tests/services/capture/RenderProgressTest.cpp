#include <gtest/gtest.h>

#include "services/capture/RenderProgress.h"

namespace corvane {
namespace {

// A render manager reads the line; a person the bar.
TEST(RenderProgress, TellsFramesRateAndTimeLeft) {
    const struct {
        std::uint64_t done;
        std::uint64_t total;
        double seconds;
        const char* line;
        const char* bar; // in 76 characters at most
    } rows[] = {
        {120, 900, 8.45, "frame 120/900 fps 14.2 eta 55s",
         "[####.................................] 120/900 frames  14.2 fps  0:55 left"},
        {0, 300, 0.0, "frame 0/300 fps 0.0 eta -",
         "[........................................] 0/300 frames  0.0 fps  -:-- left"},
        {300, 300, 2.0, "frame 300/300 fps 150.0 eta 0s",
         "[####################################] 300/300 frames  150.0 fps  0:00 left"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(RenderProgress::line(row.done, row.total, row.seconds), row.line);
        EXPECT_EQ(RenderProgress::bar(row.done, row.total, row.seconds, 76), row.bar);
    }
}

} // namespace
} // namespace corvane
