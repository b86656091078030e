#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <stdexcept>
#include <tinyxml.h>

#include "framework/Identifiers.h"
#include "platform/CurrentDirectory.h"
#include "tests/support/TemporaryFolder.h"
#include "viewer/ViewerApplication.h"

namespace corvane {
namespace {

using Locations = std::map<std::string, std::string>;

const TiXmlElement* parse(TiXmlDocument& document, const char* text) {
    document.Parse(text);
    EXPECT_FALSE(document.Error()) << document.ErrorDesc();
    return document.RootElement();
}

TEST(ViewerEntry, AnswersItsThreeInterfacesWithOneCounterButNotIUnknown) {
    ViewerApplication viewer;
    void* camera = nullptr;
    void* scene = nullptr;
    ASSERT_EQ(viewer.QueryInterface(IID_ICameraControl, &camera), S_OK);
    ASSERT_EQ(viewer.QueryInterface(IID_ISceneAccess, &scene), S_OK);
    EXPECT_NE(camera, scene);
    EXPECT_EQ(camera, static_cast<ICameraControl*>(&viewer));
    EXPECT_EQ(scene, static_cast<ISceneAccess*>(&viewer));

    // Through either secondary table, the primary interface is the object's start.
    void* core = nullptr;
    ASSERT_EQ(static_cast<ICameraControl*>(camera)->QueryInterface(IID_IViewerCore, &core), S_OK);
    EXPECT_EQ(core, static_cast<void*>(&viewer));
    ASSERT_EQ(static_cast<ISceneAccess*>(scene)->QueryInterface(IID_IViewerCore, &core), S_OK);
    EXPECT_EQ(core, static_cast<void*>(&viewer));
    EXPECT_EQ(static_cast<ISceneAccess*>(scene)->AddRef(), 5);

    void* untouched = &viewer;
    EXPECT_EQ(viewer.QueryInterface(IID_IUnknown, &untouched), E_FAIL);
    EXPECT_EQ(untouched, &viewer);
    EXPECT_EQ(viewer.Release(), 4);
}

TEST(ViewerEntry, ReleaseGoesBelowZeroAndTheObjectStaysUsable) {
    ViewerApplication viewer;
    EXPECT_EQ(viewer.Release(), -1);
    EXPECT_EQ(static_cast<ICameraControl&>(viewer).Release(), -2);
    void* out = nullptr;
    EXPECT_EQ(viewer.QueryInterface(IID_ISceneAccess, &out), S_OK);
    EXPECT_EQ(viewer.AddRef(), 0);
}

TEST(ViewerEntry, IdentificationRecordsAreFreshAndIndependent) {
    ViewerApplication viewer;
    PLUGIN_INFO first = viewer.pluginInfo();
    const PLUGIN_INFO second = viewer.pluginInfo();
    EXPECT_EQ(first.pluginId, PLUGIN_ID_SCENE_VIEWER);
    EXPECT_EQ(first.kindIds, std::list<UUID>{KIND_ID_VIEWER});
    EXPECT_TRUE(first.secondaryIds.empty());
    EXPECT_EQ(first.pluginObject, static_cast<IUnknown*>(static_cast<IViewerCore*>(&viewer)));
    EXPECT_EQ(static_cast<void*>(first.pluginObject), static_cast<void*>(&viewer));

    first.kindIds.push_back(KIND_ID_PLAYBACK);
    first.secondaryIds.push_back(KIND_ID_VIEWER);
    EXPECT_EQ(second.kindIds, std::list<UUID>{KIND_ID_VIEWER});
    EXPECT_TRUE(second.secondaryIds.empty());
}

TEST(ViewerEntry, SearchPathsAreKeptByteWiseOrderedWithTheirFirstType) {
    TiXmlDocument document;
    ViewerApplication viewer;
    viewer.parseEnvironment(parse(document, R"(<env>
        <searchpath src="b" type="Zip"/>
        <searchpath src="a"/>
        <searchpath src="b" type="FileSystem"/>
        <searchpath src="B" type="Zip"/>
        <nested><searchpath src="ignored"/></nested>
      </env>)"));
    EXPECT_EQ(viewer.pendingResourceLocations(),
              (Locations{{"B", "Zip"}, {"a", "FileSystem"}, {"b", "Zip"}}));
    EXPECT_EQ(viewer.getSceneFile(), "");
}

TEST(ViewerEntry, NoSearchPathsLeaveTheMapEmpty) {
    TiXmlDocument document;
    ViewerApplication viewer;
    viewer.parseEnvironment(parse(document, "<env><scene src=\"demo.scene\"/></env>"));
    EXPECT_TRUE(viewer.pendingResourceLocations().empty());
    EXPECT_EQ(viewer.getSceneFile(), "demo.scene");
}

TEST(ViewerEntry, OnlyTheFirstSceneCountsAndAnAbsentOneKeepsThePreviousName) {
    TiXmlDocument document;
    ViewerApplication viewer;
    viewer.parseEnvironment(
        parse(document, "<env><scene src=\"first.scene\"/><scene src=\"second.scene\"/></env>"));
    EXPECT_EQ(viewer.getSceneFile(), "first.scene");
    TiXmlDocument other;
    viewer.parseEnvironment(parse(other, "<env><searchpath src=\"x\"/></env>"));
    EXPECT_EQ(viewer.getSceneFile(), "first.scene");
}

TEST(ViewerEntry, ElementsWithoutSourceAreSkippedWithOneLineEach) {
    TiXmlDocument document;
    ViewerApplication viewer;
    viewer.setSceneFile("kept.scene");
    ::testing::internal::CaptureStderr();
    viewer.parseEnvironment(parse(document, "<env>\n<searchpath type=\"Zip\"/>\n"
                                            "<searchpath src=\"\"/>\n<scene/>\n</env>"));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "SceneViewer: a \"searchpath\" element without \"src\" (row 2) is skipped\n"
              "SceneViewer: a \"scene\" element without \"src\" (row 4) is skipped\n");
    // An empty "src" is a value, kept as written.
    EXPECT_EQ(viewer.pendingResourceLocations(), (Locations{{"", "FileSystem"}}));
    EXPECT_EQ(viewer.getSceneFile(), "kept.scene");
}

TEST(ViewerEntry, TheWindowTakesTheTitleItIsGivenElseItsOwn) {
    const struct {
        const char* environment;
        const char* title;
        const char* line;
    } rows[] = {
        {"<env/>", "Corvane - SceneViewer::Ogre", ""},
        {"<env><window title=\"Corvane - a.scene (k.xml)\"/></env>", "Corvane - a.scene (k.xml)",
         ""},
        {"<env>\n<window title=\"\"/></env>", "Corvane - SceneViewer::Ogre",
         "SceneViewer: a \"window\" element without a \"title\" (row 2) is skipped\n"},
    };
    for (const auto& row : rows) {
        TiXmlDocument document;
        ViewerApplication viewer;
        ::testing::internal::CaptureStderr();
        viewer.parseEnvironment(parse(document, row.environment));
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), row.line);
        EXPECT_EQ(viewer.getWindowTitle(), row.title);
    }
}

TEST(ViewerEntry, NullEnvironmentChangesNothing) {
    ViewerApplication viewer;
    viewer.parseEnvironment(nullptr);
    EXPECT_TRUE(viewer.pendingResourceLocations().empty());
}

// Set-up replaced: records the directory it ran in, and returns or throws as told.
class RecordingViewer : public ViewerApplication {
public:
    bool setUp() override {
        directory = CurrentDirectory::get();
        if (throws)
            throw std::runtime_error("set-up failed");
        return result;
    }
    std::string directory;
    bool result = true;
    bool throws = false;
};

TEST(ViewerEntry, StartRunsSetUpInTheStartDirectoryAndSwitchesBack) {
    testing::TemporaryFolder app;
    app.write("plugins/SceneViewer_Release/plugins.cfg", "");
    testing::CurrentDirectoryScope inApp(app.path());

    for (const bool result : {true, false}) {
        RecordingViewer viewer;
        viewer.result = result;
        EXPECT_EQ(viewer.start(), result);
        EXPECT_EQ(viewer.directory, app.path() + "/plugins/SceneViewer_Release");
        EXPECT_EQ(CurrentDirectory::get(), app.path());
    }

    RecordingViewer throwing;
    throwing.throws = true;
    EXPECT_THROW(throwing.start(), std::runtime_error);
    EXPECT_EQ(CurrentDirectory::get(), app.path());
}

TEST(ViewerEntry, AMissingStartDirectoryLeavesSetUpInTheCurrentOne) {
    testing::TemporaryFolder app;
    testing::CurrentDirectoryScope inApp(app.path());
    RecordingViewer viewer;
    EXPECT_TRUE(viewer.start());
    EXPECT_EQ(viewer.directory, app.path());
}

// Restores DISPLAY as it was.
class DisplayScope {
public:
    explicit DisplayScope(const char* value) {
        if (const char* current = std::getenv("DISPLAY"))
            previous = current;
        if (value != nullptr)
            ::setenv("DISPLAY", value, 1);
        else
            ::unsetenv("DISPLAY");
    }
    ~DisplayScope() {
        if (previous)
            ::setenv("DISPLAY", previous->c_str(), 1);
        else
            ::unsetenv("DISPLAY");
    }

private:
    std::optional<std::string> previous;
};

TEST(ViewerEntry, WithoutADisplayTheViewerDoesNotStartAndSaysSo) {
    testing::TemporaryFolder app;
    testing::CurrentDirectoryScope inApp(app.path());
    for (const char* display : {":4242", static_cast<const char*>(nullptr)}) {
        DisplayScope scope(display);
        ViewerApplication viewer;
        ::testing::internal::CaptureStderr();
        EXPECT_FALSE(viewer.start());
        EXPECT_EQ(::testing::internal::GetCapturedStderr(),
                  "ViewerApplication::setUp(): cannot open the display \"" +
                      std::string(display != nullptr ? display : "") +
                      "\"; the viewer does not start\n");
        EXPECT_EQ(viewer.getRenderWindow(), nullptr);
        EXPECT_FALSE(viewer.renderFrame(0.1f));
        EXPECT_EQ(CurrentDirectory::get(), app.path());
    }
}

} // namespace
} // namespace corvane
