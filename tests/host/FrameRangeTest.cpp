#include <gtest/gtest.h>
#include <string>

#include "host/FrameRange.h"

namespace corvane {
namespace {

std::string described(const std::vector<FrameRange>& ranges) {
    std::string text;
    for (const FrameRange& range : ranges)
        text += std::to_string(range.first) + "-" + std::to_string(range.last) + " ";
    return text;
}

// Every frame in exactly one range, in order; a video's ranges on whole seconds where each
// range can still hold a frame, and within seconds where it cannot.
TEST(FrameRange, SplitCoversEveryFrameOnceAndAlignsWhereItCan) {
    const struct {
        std::uint64_t first, past, count, group;
        const char* ranges;
    } rows[] = {
        {0, 840, 4, 1, "0-209 210-419 420-629 630-839 "},
        {0, 840, 4, 30, "0-209 210-419 420-629 630-839 "},
        {0, 850, 4, 30, "0-209 210-419 420-629 630-849 "},
        {0, 100, 3, 30, "0-29 30-59 60-99 "},
        {45, 300, 2, 30, "45-179 180-299 "},
        {0, 60, 5, 30, "0-11 12-23 24-35 36-47 48-59 "},
        {0, 7, 7, 30, "0-0 1-1 2-2 3-3 4-4 5-5 6-6 "},
        {10, 11, 1, 30, "10-10 "},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.first) + ".." + std::to_string(row.past) + " in " +
                     std::to_string(row.count) + " by " + std::to_string(row.group));
        EXPECT_EQ(described(FrameRange::split(row.first, row.past, row.count, row.group)),
                  row.ranges);
    }
}

TEST(FrameRange, ParseTakesWholeNumbersInOrderAndLabelsSortInTheFilmsOrder) {
    const struct {
        const char* text;
        bool read;
        const char* label;
    } rows[] = {
        {"0-839", true, "000000-000839"},
        {"7-7", true, "000007-000007"},
        {"9-3", false, ""},
        {"-3", false, ""},
        {"3-", false, ""},
        {"a-b", false, ""},
        {"1.5-3", false, ""},
        {"3", false, ""},
    };
    for (const auto& row : rows) {
        FrameRange range;
        ASSERT_EQ(FrameRange::parse(row.text, range), row.read) << row.text;
        if (row.read) {
            EXPECT_EQ(range.label(), row.label);
        }
    }
}

} // namespace
} // namespace corvane
