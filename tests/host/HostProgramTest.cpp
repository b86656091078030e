#include <cstdio>
#include <gtest/gtest.h>
#include <tinyxml.h>

#include "framework/Identifiers.h"
#include "host/ExitCode.h"
#include "host/HostProgram.h"
#include "host/PluginHost.h"
#include "tests/support/TemporaryFolder.h"

namespace corvane {
namespace {

using testing::TemporaryFolder;

const std::string ID_A = "{7E57B106-0000-0000-0000-00000000000A}";
const std::string ID_B = "{7E57B106-0000-0000-0000-00000000000B}";

// Runs the host on a configuration of test plug-ins that log into one file.
class HostProgramTest : public ::testing::Test {
protected:
    std::string plugin(const std::string& label, const std::string& extra = "") const {
        return "<plugin library=\"" TEST_PLUGIN_FOLDER "/TestPlugin" + label +
               ".so\"><environment><log file=\"" + logPath() + "\"/>" + extra +
               "</environment></plugin>";
    }

    int run(const std::string& plugins, std::vector<std::string> options = {}) {
        const std::string config =
            folder.write("corvane.xml", "<corvane>" + plugins + "</corvane>");
        std::vector<std::string> arguments{"--config", config};
        arguments.insert(arguments.end(), options.begin(), options.end());
        ::testing::internal::CaptureStderr();
        const int status = HostProgram::run(arguments);
        errors = ::testing::internal::GetCapturedStderr();
        return status;
    }

    std::string logPath() const { return folder.path() + "/calls.log"; }
    std::string log() const { return TemporaryFolder::read(logPath()); }

    TemporaryFolder folder;
    std::string errors;
};

TEST_F(HostProgramTest, CallsTheEntryPointsInOrderAndStopsInReverse) {
    EXPECT_EQ(run(plugin("A") + plugin("B"), {"--fixed-step", "0.5", "--frames", "2"}),
              EXIT_CODE_OK);
    // GetPluginInfo comes first, before a plug-in knows where to log.
    EXPECT_EQ(log(), "A: ParseEnvironmentXML\n"
                     "B: ParseEnvironmentXML\n"
                     "A: StartPlugin\n"
                     "B: StartPlugin\n"
                     "A: RenderFrame 0.500000\n"
                     "B: RenderFrame 0.500000\n"
                     "A: RenderFrame 0.500000\n"
                     "B: RenderFrame 0.500000\n"
                     "B: StopPlugin\n"
                     "A: StopPlugin\n");
    EXPECT_NE(errors.find("corvane: loaded TestPluginA: plug-in " + ID_A +
                          ", kind {00000000-0000-0000-0000-000000000000}\n"
                          "corvane: loaded TestPluginB: plug-in " +
                          ID_B),
              std::string::npos)
        << errors;
}

TEST_F(HostProgramTest, ProvidersOfAnIdComeBackInHostOrderWithBalancedCounts) {
    EXPECT_EQ(run(plugin("A", "<query/>") + plugin("B"), {"--frames", "1"}), EXIT_CODE_OK);
    const std::string calls = log();
    // Each plug-in's reference taken by the host's question is given back at once.
    EXPECT_NE(calls.find("A: Release 0\nB: Release 0\nA: providers " + ID_A + " " + ID_B + "\n"),
              std::string::npos)
        << calls;
    EXPECT_NE(calls.find("A: unanswered 0 0\n"), std::string::npos) << calls;
}

TEST_F(HostProgramTest, APluginThatAsksToStopEndsTheRunAfterEveryoneHadTheFrame) {
    EXPECT_EQ(run(plugin("A", "<frames stopAfter=\"2\"/>") + plugin("B"), {"--fixed-step", "0.25"}),
              EXIT_CODE_OK);
    const std::string calls = log();
    EXPECT_NE(calls.find("A: RenderFrame 0.250000\nB: RenderFrame 0.250000\n"
                         "A: RenderFrame 0.250000\nB: RenderFrame 0.250000\nB: StopPlugin\n"),
              std::string::npos)
        << calls;
}

TEST_F(HostProgramTest, APluginThatDoesNotStartStopsTheStartedOnes) {
    EXPECT_EQ(run(plugin("A") + plugin("B", "<start result=\"false\"/>"), {"--frames", "5"}),
              EXIT_CODE_PLUGIN_START);
    EXPECT_NE(errors.find("corvane: TestPluginB: the plug-in did not start\n"), std::string::npos)
        << errors;
    const std::string calls = log();
    EXPECT_EQ(calls.find("RenderFrame"), std::string::npos) << calls;
    EXPECT_NE(calls.find("B: StartPlugin\nA: StopPlugin\n"), std::string::npos) << calls;
    EXPECT_EQ(calls.find("B: StopPlugin"), std::string::npos) << calls;
}

TEST_F(HostProgramTest, AnExceptionFromAFrameIsReportedAndEndsTheRun) {
    EXPECT_EQ(run(plugin("A", "<frames throwAt=\"2\"/>") + plugin("B"), {"--frames", "5"}),
              EXIT_CODE_PLUGIN_EXCEPTION);
    EXPECT_NE(errors.find("corvane: TestPluginA: RenderFrame ended with an exception: "
                          "frame 2 went wrong\n"),
              std::string::npos)
        << errors;
    const std::string calls = log();
    EXPECT_NE(calls.find("B: StopPlugin\nA: StopPlugin\n"), std::string::npos) << calls;
}

// Whichever entry point throws, the run ends with the exception status and the plug-ins
// that had started are stopped.
TEST_F(HostProgramTest, AnExceptionFromAnyEntryPointHasTheExceptionStatus) {
    struct Row {
        const char* name;
        std::string plugins;
        const char* message;
        const char* calls; // in the log, in order; empty when nothing may be logged
    };
    const Row rows[] = {
        {"GetPluginInfo", plugin("A") + plugin("ThrowingInfo"),
         "corvane: TestPluginThrowingInfo: GetPluginInfo ended with an exception: no identity\n",
         "A: ParseEnvironmentXML\n"},
        {"ParseEnvironmentXML", plugin("A", "<throw in=\"ParseEnvironmentXML\"/>"),
         "corvane: TestPluginA: ParseEnvironmentXML ended with an exception: bad environment\n",
         "A: ParseEnvironmentXML\n"},
        {"StartPlugin", plugin("A") + plugin("B", "<throw in=\"StartPlugin\"/>"),
         "corvane: TestPluginB: StartPlugin ended with an exception of unknown type\n",
         "B: StartPlugin\nA: StopPlugin\n"},
        // A throwing stop after a run that ended well; the plug-ins before it still stop.
        {"StopPlugin", plugin("A") + plugin("B", "<throw in=\"StopPlugin\"/>"),
         "corvane: TestPluginB: StopPlugin ended with an exception: cannot stop\n",
         "B: StopPlugin\nA: StopPlugin\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::remove(logPath().c_str());
        EXPECT_EQ(run(row.plugins, {"--frames", "2"}), EXIT_CODE_PLUGIN_EXCEPTION);
        EXPECT_NE(errors.find(row.message), std::string::npos) << errors;
        EXPECT_NE(log().find(row.calls), std::string::npos) << log();
        // Only a failure to stop comes after frames were run.
        EXPECT_EQ(log().find("RenderFrame") == std::string::npos,
                  std::string(row.name) != "StopPlugin")
            << log();
    }
}

TEST_F(HostProgramTest, AFileThatIsNoSharedObjectCannotBeOpened) {
    const std::string fake = folder.write("Fake.so", "not a shared object\n");
    EXPECT_EQ(run("<plugin library=\"" + fake + "\"/>"), EXIT_CODE_PLUGIN_LOAD);
    EXPECT_NE(errors.find("corvane: " + fake + ": cannot open the plug-in library: "),
              std::string::npos)
        << errors;
}

TEST_F(HostProgramTest, ALibraryThatIsNoPluginIsNamedWithTheMissingExport) {
    EXPECT_EQ(run(plugin("A") + plugin("NoStop")), EXIT_CODE_PLUGIN_LOAD);
    EXPECT_NE(errors.find("corvane: " TEST_PLUGIN_FOLDER "/TestPluginNoStop.so: not a plug-in: "
                          "the export \"StopPlugin\" is missing\n"),
              std::string::npos)
        << errors;
    EXPECT_EQ(log().find("StartPlugin"), std::string::npos);
}

TEST_F(HostProgramTest, ALibraryThatCannotBeOpenedIsNamed) {
    EXPECT_EQ(run("<plugin library=\"Nowhere\"/>", {"--plugin-dir", folder.path()}),
              EXIT_CODE_PLUGIN_LOAD);
    EXPECT_NE(
        errors.find("corvane: " + folder.path() + "/Nowhere.so: cannot open the plug-in library: "),
        std::string::npos)
        << errors;
}

TEST_F(HostProgramTest, UsageAndConfigurationErrorsHaveTheirOwnStatus) {
    EXPECT_EQ(run(plugin("A"), {"--frames"}), EXIT_CODE_USAGE);
    EXPECT_EQ(HostProgram::run({"--config", folder.path() + "/none.xml"}), EXIT_CODE_CONFIGURATION);
    EXPECT_EQ(run(""), EXIT_CODE_CONFIGURATION);
    EXPECT_NE(errors.find("no \"plugin\" element"), std::string::npos) << errors;
}

TEST(PluginHost, TheViewerIdentifiesItselfAndAnswersItsThreeInterfaces) {
    PluginHost host;
    TiXmlElement environment("environment");
    ::testing::internal::CaptureStderr();
    ASSERT_EQ(host.load(SCENE_VIEWER_MODULE, &environment), EXIT_CODE_OK);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "corvane: loaded SceneViewer: plug-in {00000000-0000-0000-0001-000000000001}, kind "
              "{00000000-0000-0000-0000-000000000001}\n");
    for (const UUID& iid : {IID_IViewerCore, IID_ICameraControl, IID_ISceneAccess}) {
        EXPECT_EQ(host.pluginsWithInterface(iid), std::list<UUID>{PLUGIN_ID_SCENE_VIEWER});
        void* pointer = nullptr;
        EXPECT_TRUE(host.pluginInterface(PLUGIN_ID_SCENE_VIEWER, iid, &pointer));
        EXPECT_NE(pointer, nullptr);
    }
    EXPECT_TRUE(host.pluginsWithInterface(IID_IUnknown).empty());
    void* untouched = &environment;
    EXPECT_FALSE(host.pluginInterface(PLUGIN_ID_SCENE_VIEWER, IID_IUnknown, &untouched));
    EXPECT_EQ(untouched, &environment);
    EXPECT_FALSE(host.pluginInterface(PLUGIN_ID_PLAYBACK_DIRECTOR, IID_IViewerCore, &untouched));
}

} // namespace
} // namespace corvane
