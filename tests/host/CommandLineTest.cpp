#include <gtest/gtest.h>

#include "host/CommandLine.h"

namespace corvane {
namespace {

TEST(CommandLine, DefaultsWithoutArguments) {
    CommandLine line;
    std::string error;
    ASSERT_TRUE(line.parse({}, error));
    EXPECT_EQ(line.configuration, "corvane.xml");
    EXPECT_FALSE(line.fixedStep);
    EXPECT_FALSE(line.frames);
    EXPECT_FALSE(line.help);
}

TEST(CommandLine, ReadsEveryOption) {
    CommandLine line;
    std::string error;
    ASSERT_TRUE(line.parse({"--config", "demo.xml", "--fixed-step", "0.0166", "--frames", "600",
                            "--plugin-dir", "a", "--plugin-dir", "b", "--version"},
                           error))
        << error;
    EXPECT_EQ(line.configuration, "demo.xml");
    EXPECT_FLOAT_EQ(*line.fixedStep, 0.0166f);
    EXPECT_EQ(*line.frames, 600u);
    EXPECT_EQ(line.pluginFolders, (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(line.version);
}

TEST(CommandLine, RejectsWhatItCannotUse) {
    const struct {
        std::vector<std::string> arguments;
        const char* error;
    } rows[] = {
        {{"--fast"}, "unknown option \"--fast\""},
        {{"--config"}, "--config needs a value"},
        {{"--frames", "-3"}, "--frames needs a whole number, not \"-3\""},
        {{"--frames", "12x"}, "--frames needs a whole number, not \"12x\""},
        {{"--frames", "99999999999999999999999"},
         "--frames needs a whole number, not \"99999999999999999999999\""},
        {{"--fixed-step", "nan"}, "--fixed-step needs seconds from 0.000001 to 10, not \"nan\""},
        {{"--fixed-step", "-1"}, "--fixed-step needs seconds from 0.000001 to 10, not \"-1\""},
        {{"--fixed-step", ""}, "--fixed-step needs seconds from 0.000001 to 10, not \"\""},
        // Finite as a double, infinite as the float a frame gets.
        {{"--fixed-step", "1e39"}, "--fixed-step needs seconds from 0.000001 to 10, not \"1e39\""},
        {{"--fixed-step", "0"}, "--fixed-step needs seconds from 0.000001 to 10, not \"0\""},
        {{"--fixed-step", "10.5"}, "--fixed-step needs seconds from 0.000001 to 10, not \"10.5\""},
    };
    for (const auto& row : rows) {
        CommandLine line;
        std::string error;
        EXPECT_FALSE(line.parse(row.arguments, error));
        EXPECT_EQ(error, row.error);
    }
}

} // namespace
} // namespace corvane
