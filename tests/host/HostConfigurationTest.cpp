#include <gtest/gtest.h>
#include <tinyxml.h>

#include "host/HostConfiguration.h"
#include "tests/support/TemporaryFolder.h"

namespace corvane {
namespace {

TEST(HostConfiguration, ListsPluginsInOrderWithTheirEnvironments) {
    HostConfiguration configuration;
    std::string error;
    ASSERT_TRUE(configuration.parse(R"(<corvane>
        <plugin library="SceneViewer"><environment><scene src="a.scene"/></environment></plugin>
        <comment/>
        <plugin library="./PlaybackDirector.so"/>
      </corvane>)",
                                    "test", error))
        << error;
    ASSERT_EQ(configuration.plugins().size(), 2u);
    EXPECT_EQ(configuration.plugins()[0].library, "SceneViewer");
    EXPECT_STREQ(
        configuration.plugins()[0].environment->FirstChildElement("scene")->Attribute("src"),
        "a.scene");
    // A plug-in without an environment still gets an element, an empty one.
    EXPECT_EQ(configuration.plugins()[1].library, "./PlaybackDirector.so");
    ASSERT_NE(configuration.plugins()[1].environment, nullptr);
    EXPECT_EQ(configuration.plugins()[1].environment->FirstChildElement(), nullptr);
}

TEST(HostConfiguration, BadConfigurationsSayWhatIsWrong) {
    const struct {
        const char* text;
        const char* error;
    } rows[] = {
        {"", "test: Error document empty."},
        {"<corvane>",
         "test: Error reading Element value.; \"corvane\" opened at row 1, column 1 is not closed"},
        {"<corvane><plugin library='a></corvane>", "test:1:18: Error parsing Element."},
        {"<!-- only a comment -->", "test: no root element"},
        {"<corvane/>", "test: no \"plugin\" element"},
        {"<corvane>\n<plugin/></corvane>",
         "test:2: a \"plugin\" element needs a \"library\" attribute"},
        {"<corvane><plugin library=\"\"/></corvane>",
         "test:1: a \"plugin\" element needs a \"library\" attribute"},
    };
    for (const auto& row : rows) {
        HostConfiguration configuration;
        std::string error;
        EXPECT_FALSE(configuration.parse(row.text, "test", error)) << row.text;
        EXPECT_EQ(error, row.error) << row.text;
    }
}

TEST(HostConfiguration, LoadsAFileAndKnowsItsFolder) {
    testing::TemporaryFolder folder;
    const std::string path =
        folder.write("app/corvane.xml", "<corvane><plugin library=\"X\"/></corvane>");
    HostConfiguration configuration;
    std::string error;
    ASSERT_TRUE(configuration.load(path, error)) << error;
    EXPECT_EQ(configuration.folder(), folder.path() + "/app");

    EXPECT_FALSE(configuration.load(folder.path() + "/missing.xml", error));
    EXPECT_EQ(error, folder.path() + "/missing.xml: No such file or directory");
}

} // namespace
} // namespace corvane
