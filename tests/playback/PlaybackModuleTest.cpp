#include <gtest/gtest.h>
#include <tinyxml.h>

#include "framework/IPlaybackStatus.h"
#include "framework/Identifiers.h"
#include "framework/PluginExports.h"
#include "platform/DynamicLibrary.h"
#include "tests/support/FakeHost.h"
#include "tests/support/TemporaryFolder.h"

namespace corvane {
namespace {

template <class Function>
Function entry(const DynamicLibrary& library, const char* name) {
    void* address = library.symbol(name);
    EXPECT_NE(address, nullptr) << name;
    return reinterpret_cast<Function>(address);
}

TEST(PlaybackModule, ExportsTheFiveEntryPointsOverItsOneObject) {
    testing::FakeHost host;
    std::string error;
    const std::unique_ptr<DynamicLibrary> library =
        DynamicLibrary::open(PLAYBACK_DIRECTOR_MODULE, error);
    ASSERT_NE(library, nullptr) << error;
    const auto info = entry<GetPluginInfoFunction>(*library, "GetPluginInfo");
    const auto parse = entry<ParseEnvironmentXMLFunction>(*library, "ParseEnvironmentXML");
    const auto start = entry<StartPluginFunction>(*library, "StartPlugin");
    const auto frame = entry<RenderFrameFunction>(*library, "RenderFrame");
    const auto stop = entry<StopPluginFunction>(*library, "StopPlugin");
    EXPECT_EQ(library->symbol("_ZN7corvane18PlaybackController11renderFrameEf"), nullptr);

    PLUGIN_INFO first = info();
    const PLUGIN_INFO second = info();
    EXPECT_EQ(first.pluginId, PLUGIN_ID_PLAYBACK_DIRECTOR);
    EXPECT_EQ(first.kindIds, std::list<UUID>{KIND_ID_PLAYBACK});
    EXPECT_TRUE(first.secondaryIds.empty());
    EXPECT_EQ(first.pluginObject, second.pluginObject);
    first.kindIds.push_back(KIND_ID_VIEWER);
    EXPECT_EQ(second.kindIds, std::list<UUID>{KIND_ID_PLAYBACK});

    // The object answers IUnknown with itself, and the status through its second table.
    void* unknown = nullptr;
    void* status = nullptr;
    ASSERT_EQ(first.pluginObject->QueryInterface(IID_IUnknown, &unknown), S_OK);
    EXPECT_EQ(unknown, first.pluginObject);
    ASSERT_EQ(first.pluginObject->QueryInterface(IID_IPlaybackStatus, &status), S_OK);
    EXPECT_EQ(static_cast<IPlaybackStatus*>(status)->Release(), 1);
    EXPECT_TRUE(static_cast<IPlaybackStatus*>(status)->isMenuOrAutoCamera());

    TiXmlDocument environment;
    environment.Parse("<environment><entity name=\"robot\"/></environment>");
    parse(environment.RootElement());
    testing::TemporaryFolder folder;
    folder.write("keyframes.xml", "<keyframes><keyframe time=\"0\"/></keyframes>");
    {
        testing::CurrentDirectoryScope inFolder(folder.path());
        EXPECT_TRUE(start());
    }
    EXPECT_TRUE(frame(0.25f));
    stop();
    EXPECT_TRUE(frame(0.25f));
    EXPECT_EQ(host.listQueries, 10);
}

} // namespace
} // namespace corvane
