// The bad-input corpus (tests/data/bad/): every file is loaded through the component it
// is for, host configurations through the host program itself. Nothing aborts, each file
// gives the few diagnostic lines listed for it (each line begins as written), and what is
// valid in it still loads.
#include <OgreEntity.h>
#include <OgreMesh.h>
#include <OgreResourceGroupManager.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <tinyxml.h>
#include <vector>

#include "host/ExitCode.h"
#include "playback/PlaybackController.h"
#include "tests/support/ShellCommand.h"
#include "tests/support/TemporaryFolder.h"
#include "tools/HeadlessMediaEngine.h"
#include "viewer/ResourceGroup.h"
#include "viewer/ViewerApplication.h"
#include "viewer/scene/SceneLoader.h"

namespace corvane::testing {
namespace {

const std::string BAD = CORVANE_SOURCE_DIR "/tests/data/bad/";

using Lines = std::vector<std::string>;

// The lines of `output` that begin with `prefix` and not with any of `ignored`.
Lines linesOf(const std::string& output, const std::string& prefix, const Lines& ignored = {}) {
    Lines found;
    std::istringstream stream(output);
    for (std::string line; std::getline(stream, line);) {
        if (line.rfind(prefix, 0) != 0)
            continue;
        bool skip = false;
        for (const std::string& other : ignored)
            skip = skip || line.rfind(other, 0) == 0;
        if (!skip)
            found.push_back(line);
    }
    return found;
}

void expectLines(const Lines& found, const Lines& expected) {
    ASSERT_EQ(found.size(), expected.size()) << ::testing::PrintToString(found);
    for (std::size_t i = 0; i < found.size(); ++i)
        EXPECT_EQ(found[i].rfind(expected[i], 0), 0u) << found[i];
}

TEST(BadInput, SceneFiles) {
    tools::HeadlessMediaEngine engine;
    Ogre::ResourceGroupManager& resources = Ogre::ResourceGroupManager::getSingleton();
    resources.createResourceGroup(VIEWER_RESOURCE_GROUP);
    TemporaryFolder large;
    {
        // A very large scene: 5000 nodes with an entity each, and one name used twice.
        std::string text = "<scene><nodes>";
        for (int i = 0; i < 5000; ++i)
            text += "<node name='n" + std::to_string(i) + "'><position x='" + std::to_string(i) +
                    "' y='0' z='0'/><entity name='e" + std::to_string(i == 4999 ? 0 : i) +
                    "' meshfile='box.mesh'/></node>";
        large.write("large.scene", text + "</nodes></scene>");
    }
    resources.addResourceLocation(BAD + "scene", "FileSystem", VIEWER_RESOURCE_GROUP);
    resources.addResourceLocation(large.path(), "FileSystem", VIEWER_RESOURCE_GROUP);
    Ogre::SceneManager* scene = engine.sceneManager();
    auto has = [&](const char* entity) { return scene->hasEntity(entity); };

    struct Row {
        const char* file;
        bool loaded;
        Lines lines;
        std::function<bool()> kept;
    };
    const Row rows[] = {
        {"truncated.scene", false, {"SceneLoader::load(): cannot parse truncated.scene: "}, {}},
        {"wrong-nesting.scene",
         false,
         {"SceneLoader::load(): cannot parse wrong-nesting.scene: "},
         {}},
        {"empty.scene", false, {"SceneLoader::load(): cannot parse empty.scene: "}, {}},
        {"not-xml.scene", false, {"SceneLoader::load(): "}, {}},
        {"no-element.scene",
         false,
         {"SceneLoader::load(): no-element.scene has no scene element"},
         {}},
        {"deep-nesting.scene",
         false,
         {"SceneLoader::load(): deep-nesting.scene nests elements deeper than 256 levels"},
         {}},
        {"missing-attributes.scene",
         true,
         {},
         [&] { return has("entity_kept") && scene->getMovableObjects("Entity").size() == 2; }},
        {"not-numbers.scene",
         true,
         {"SceneLoader::load(): node_a has a \"rotation\" whose length is zero or beyond the "
          "range of floats",
          "SceneLoader::processCamera(): camera_a cannot clip nearer than \"close\""},
         [&] {
             return has("entity_a") && scene->hasLight("light_a") &&
                    scene->getSceneNode("node_a")->getOrientation() == Ogre::Quaternion::IDENTITY;
         }},
        {"nan-infinity.scene",
         true,
         {"SceneLoader::load(): node_a has a \"position\" that is not finite",
          "SceneLoader::load(): node_a has a \"scale\" that is not finite",
          "SceneLoader::load(): node_a has a \"rotation\" that is not finite",
          "SceneLoader::load(): light_a has a \"position\" that is not finite",
          "SceneLoader::load(): camera_nan has a \"normal\" that is not finite"},
         [&] {
             return has("entity_a") && has("entity_ok") &&
                    scene->getSceneNode("node_a")->getPosition() == Ogre::Vector3::ZERO;
         }},
        {"huge-negative.scene",
         true,
         {"SceneLoader::processCamera(): camera_huge cannot clip nearer than \"0\"",
          "SceneLoader::processCamera(): camera_huge cannot clip farther than \"-1\"",
          "SceneLoader::processCamera(): camera_huge has a field of view of \"1e30\", which no "
          "view has",
          "SceneLoader::load(): node_further would be placed beyond the range of floats; "
          "its position, rotation and scale are skipped"},
         [&] {
             return has("entity_far") && has("entity_near") && scene->hasLight("light_far") &&
                    scene->getSceneNode("node_further")->_getDerivedPosition().x == -3e38f;
         }},
        {"duplicate-names.scene",
         true,
         {"SceneLoader::processEntity(): there is already an entity entity_e",
          "SceneLoader::processLight(): there is already a light light_l",
          "SceneLoader::processCamera(): there is already a camera camera_dup",
          "SceneLoader::processNode(): there is already a node node_a"},
         [&] {
             return has("entity_c") && !has("entity_lost") &&
                    scene->getEntity("entity_e")->getMesh()->getName() == "box.mesh";
         }},
        {"unknown-meshes.scene",
         true,
         {"SceneLoader::processEntity(): entity_ghost cannot load mesh \"ghost.mesh\"",
          "SceneLoader::processEntity(): entity_picture cannot load mesh \"flare.png\""},
         [&] { return has("entity_box") && scene->hasCamera("camera_look"); }},
        {"unknown-elements.scene",
         true,
         {"SceneLoader::processEntity(): entity_a is given material \"none\", which does not "
          "exist"},
         [&] { return has("entity_a") && !has("entity_hidden"); }},
        {"large.scene",
         true,
         {"SceneLoader::processEntity(): there is already an entity entity_e0"},
         [&] {
             return scene->getMovableObjects("Entity").size() == 4999 &&
                    scene->hasSceneNode("node_n4999");
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        scene->clearScene();
        SceneLoader loader;
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(loader.load(row.file, scene, nullptr, false, nullptr), row.loaded);
        expectLines(linesOf(::testing::internal::GetCapturedStderr(), "SceneLoader::"), row.lines);
        if (row.kept) {
            EXPECT_TRUE(row.kept());
        }
    }
    resources.destroyResourceGroup(VIEWER_RESOURCE_GROUP);
}

TEST(BadInput, KeyframeScripts) {
    TemporaryFolder large;
    {
        // A very large script: 50000 keyframes, one of them with a time that is no number.
        std::string text = "<keyframes>\n";
        for (int i = 0; i < 50000; ++i)
            text += "<keyframe entity='entity_door' time='" +
                    (i == 777 ? std::string("later") : std::to_string(i * 0.01)) +
                    "'><position x='1' y='2' z='3'/><animation name='open' type='PLAY' "
                    "value='1'/></keyframe>\n";
        large.write("large.xml", text + "</keyframes>\n");
    }
    struct Row {
        const char* file;
        Lines lines;
        std::size_t keyframes;
        std::function<bool(const KeyframeMap&)> kept;
    };
    const std::string at = "KeyframeLoader::load(): keyframes.xml ";
    const Row rows[] = {
        {"truncated.xml", {at + "does not parse: "}, 0, {}},
        {"wrong-nesting.xml", {at + "does not parse: "}, 0, {}},
        {"empty.xml", {at + "does not parse: "}, 0, {}},
        {"deep-nesting.xml",
         {at + "nests elements deeper than 256 levels; nothing is loaded"},
         0,
         {}},
        {"no-root.xml", {}, 0, {}},
        {"missing-attributes.xml",
         {at + "row 4: keyframe at 0 has an animation without \"type\"; action skipped",
          at + "row 7: keyframe at 2 has an animation without \"type\"; action skipped"},
         2,
         [](const KeyframeMap& k) {
             return k.begin()->second.entity.empty() &&
                    k.begin()->second.actions.front().name == "";
         }},
        // Words read as 0, so the slerp target has no length: it reads as the identity.
        {"not-numbers.xml",
         {at + "row 2: keyframe time \"soon\" is not a finite number; keyframe skipped",
          at + "row 5: keyframe at 3 has a \"slerp\" quaternion of length zero; it reads as the "
               "identity"},
         1,
         [](const KeyframeMap& k) {
             return k.begin()->second.position.z == 1.0f && k.begin()->second.slerpTarget.w == 1.0f;
         }},
        {"nan-infinity.xml",
         {at + "row 2: keyframe time \"nan\" is not a finite number",
          at + "row 3: keyframe time \"inf\" is not a finite number",
          at + "row 4: keyframe time \"-infinity\" is not a finite number",
          at + "row 6: keyframe at 1 has a \"position\" that is not finite",
          at + "row 7: keyframe at 1 has a \"velocity\" that is not finite",
          at + "row 8: keyframe at 1 has a \"orientation\" that is not finite",
          at + "row 9: keyframe at 1 has a \"slerp\" that is not finite",
          at + "row 10: keyframe at 1 has an animation value \"nan\" that is not finite",
          at + "row 14: keyframe at 2 has a \"slerp\" that is not finite"},
         2,
         [](const KeyframeMap& k) {
             const Keyframe& frame = k.begin()->second;
             // A turn whose target is not finite is dropped with its rate, not made
             // towards the default target.
             const Keyframe& turn = k.rbegin()->second;
             return frame.position.x == 0.0f && frame.orientation.w == 1.0f &&
                    frame.multiplier == 0.0f &&
                    frame.actions.front().code == KeyframeActionType::SetWeight &&
                    turn.multiplier == 0.0f && turn.slerpTarget.w == 1.0f &&
                    turn.slerpTarget.y == 0.0f;
         }},
        {"huge-negative.xml",
         {at + "row 2: keyframe time \"-5\" is negative; it falls due at the start",
          at + "row 3: keyframe time \"1e39\" is not a finite number",
          at + "row 5: keyframe at 4 has a \"velocitytarget\" that is not finite",
          at + "row 7: keyframe at 4 has an animation value \"1e300\" that is not finite"},
         2,
         [](const KeyframeMap& k) { return k.begin()->first == -5.0f; }},
        {"unknown-types.xml",
         {at + "row 3: keyframe at 1 has an animation of unknown type \"DANCE\"",
          at + "row 4: keyframe at 1 has an animation of unknown type \"play\"",
          at + "row 5: keyframe at 1 has an animation of unknown type \"\""},
         1,
         [](const KeyframeMap& k) {
             return k.begin()->second.actions.front().code == KeyframeActionType::Play;
         }},
        // Unknown entities, animations, bones, nodes and sounds are the viewer's and the
        // sound service's to find when the keyframe is applied.
        {"unknown-names.xml", {}, 2, {}},
        {"duplicates.xml",
         {at + "row 3: keyframe at 1 has an unknown attribute \"time2\" in \"keyframe\" (did "
               "you mean \"time\"?); it is ignored"},
         2,
         [](const KeyframeMap& k) {
             return k.begin()->second.position.x == 1.0f &&
                    std::next(k.begin())->second.orientation.w == 1.0f;
         }},
        {"large.xml", {at + "row 779: keyframe time \"later\""}, 49999, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        TemporaryFolder app;
        const std::string source = std::string(row.file) == "large.xml"
                                       ? large.path() + "/large.xml"
                                       : BAD + "keyframes/" + row.file;
        app.write(PlaybackController::KEYFRAME_FILE, TemporaryFolder::read(source));
        CurrentDirectoryScope in(app.path());
        PlaybackController playback;
        ::testing::internal::CaptureStderr();
        EXPECT_TRUE(playback.start());
        expectLines(linesOf(::testing::internal::GetCapturedStderr(), "KeyframeLoader::"),
                    row.lines);
        ASSERT_EQ(playback.getPendingKeyframes().size(), row.keyframes);
        if (row.kept) {
            EXPECT_TRUE(row.kept(playback.getPendingKeyframes()));
        }
    }
}

TEST(BadInput, PluginEnvironments) {
    auto environment = [](const char* file, TiXmlDocument& document) {
        EXPECT_TRUE(document.LoadFile(BAD + "environment/" + file)) << file;
        return document.RootElement();
    };
    {
        TiXmlDocument document;
        ViewerApplication viewer;
        ::testing::internal::CaptureStderr();
        viewer.parseEnvironment(environment("viewer-missing-src.xml", document));
        expectLines(linesOf(::testing::internal::GetCapturedStderr(), "SceneViewer:"),
                    {"SceneViewer: a \"searchpath\" element without \"src\" (row 2) is skipped",
                     "SceneViewer: a \"searchpath\" element without \"src\" (row 3) is skipped",
                     "SceneViewer: a \"scene\" element without \"src\" (row 5) is skipped"});
        EXPECT_EQ(viewer.pendingResourceLocations(),
                  (std::map<std::string, std::string>{{"../../media", "FileSystem"}}));
        EXPECT_EQ(viewer.getSceneFile(), "");
    }
    {
        TiXmlDocument document;
        ViewerApplication viewer;
        viewer.parseEnvironment(environment("viewer-duplicates.xml", document));
        EXPECT_EQ(viewer.pendingResourceLocations(),
                  (std::map<std::string, std::string>{{"a", "FileSystem"}, {"b", "Zip"}}));
        EXPECT_EQ(viewer.getSceneFile(), "one.scene");
    }
    {
        TiXmlDocument document;
        ViewerApplication viewer;
        viewer.parseEnvironment(environment("viewer-wrong-nesting.xml", document));
        EXPECT_TRUE(viewer.pendingResourceLocations().empty());
        EXPECT_EQ(viewer.getSceneFile(), "demo.scene");
    }
    for (const auto& [file, entity] : {std::pair{"playback-missing-name.xml", ""},
                                       std::pair{"playback-wrong-nesting.xml", ""}}) {
        SCOPED_TRACE(file);
        TiXmlDocument document;
        PlaybackController playback;
        ::testing::internal::CaptureStderr();
        playback.parseEnvironment(environment(file, document));
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
        EXPECT_EQ(playback.getConfiguredEntity(), entity);
    }
    {
        TiXmlDocument document;
        PlaybackController playback;
        ::testing::internal::CaptureStderr();
        playback.parseEnvironment(environment("playback-script.xml", document));
        expectLines(linesOf(::testing::internal::GetCapturedStderr(), "PlaybackController"),
                    {"PlaybackController::parseEnvironment(): \"script\" (row 2) has an empty "
                     "\"src\"; the script stays \"keyframes.xml\"",
                     "PlaybackController::parseEnvironment(): \"script\" (row 2) has "
                     "watch=\"yes\", neither \"true\" nor \"false\"; the script is not watched"});
        EXPECT_EQ(playback.getScript().path(), "keyframes.xml");
        EXPECT_FALSE(playback.getScript().isWatched());
    }
}

// Runs the host in `folder` on `configuration` for `frames` fixed steps of 1/50 s: its exit
// status (-1 when it did not exit by itself, as on an abort) and what it and its plug-ins
// wrote to standard error.
ShellCommand::Outcome runHost(const std::string& configuration, int frames,
                              const std::string& folder = ".") {
    return ShellCommand::run("cd '" + folder + "' && env " + CORVANE_HOST_ENVIRONMENT + " '" +
                             CORVANE_HOST + "' --config '" + configuration + "' --frames " +
                             std::to_string(frames) + " --fixed-step 0.02 --plugin-dir '" +
                             CORVANE_PLUGIN_FOLDER + "' 2>&1 >/dev/null");
}

TEST(BadInput, HostConfigurations) {
    struct Row {
        const char* file;
        int status;
        Lines lines;
    };
    const std::string at = "corvane: " + BAD + "host/";
    const Row rows[] = {
        {"truncated.xml", EXIT_CODE_CONFIGURATION, {at + "truncated.xml:"}},
        {"no-plugin.xml", EXIT_CODE_CONFIGURATION, {at + "no-plugin.xml: no \"plugin\" element"}},
        {"missing-library.xml",
         EXIT_CODE_CONFIGURATION,
         {at + "missing-library.xml:3: a \"plugin\" element needs a \"library\" attribute"}},
        {"empty-library.xml",
         EXIT_CODE_CONFIGURATION,
         {at + "empty-library.xml:2: a \"plugin\" element needs a \"library\" attribute"}},
        {"deep-nesting.xml",
         EXIT_CODE_CONFIGURATION,
         {at + "deep-nesting.xml: elements nest deeper than 256 levels"}},
        {"unknown-library.xml",
         EXIT_CODE_PLUGIN_LOAD,
         {std::string("corvane: ") + CORVANE_PLUGIN_FOLDER +
          "/NoSuchPlugin.so: cannot open the plug-in library: "}},
        {"not-a-library.xml",
         EXIT_CODE_PLUGIN_LOAD,
         {at + "./not-a-library.so: cannot open the plug-in library: "}},
        {"extra-content.xml", EXIT_CODE_OK, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        const ShellCommand::Outcome run = runHost(BAD + "host/" + row.file, 3);
        EXPECT_EQ(run.status, row.status);
        // The host's own lines, past the report of each plug-in it loaded.
        expectLines(linesOf(run.output, "corvane: ", {"corvane: loaded "}), row.lines);
    }
}

// Scripts whose values no engine transform can take, played by the real host on the demo's
// scene: the engine would abort the process. Empty turns are read as the identity; a turn
// too short for floats, or a movement past their range, meets the viewer's checks. Each
// runs to its end with its one line, and the capture writes the run's last frame.
TEST(BadInput, PlayedScripts) {
    if (std::getenv("DISPLAY") == nullptr)
        GTEST_SKIP() << "needs a display (run under xvfb-run)";
    TemporaryFolder app;
    std::filesystem::copy(CORVANE_DEMO_FOLDER, app.path(),
                          std::filesystem::copy_options::recursive);
    const std::string configuration = app.write("played.xml", R"(<corvane>
  <plugin library="SceneViewer"><environment>
    <searchpath src="../../scene"/><searchpath src="../../media"/><scene src="demo.scene"/>
  </environment></plugin>
  <plugin library="UserInterface"><environment><script>
    <click time="0" element="ZORV/EscapeMenu/Resume"/>
  </script></environment></plugin>
  <plugin library="PlaybackDirector"/>
  <plugin library="FrameCapture"><environment>
    <capture folder="frames"/><frame number="20"/>
  </environment></plugin>
</corvane>)");
    struct Row {
        const char* keyframe;
        std::string line;
    };
    const std::string loader = "KeyframeLoader::load(): keyframes.xml row 2: keyframe at 0 has ";
    const std::string tiny = ": quaternion (1e-30, 0, 0, 0) is not a rotation; ignored";
    const Row rows[] = {
        {R"(<keyframe entity="entity_door" time="0.0"><orientation/></keyframe>)",
         loader + "an \"orientation\" quaternion of length zero; it reads as the identity"},
        {R"(<keyframe entity="entity_door" time="0.0"><slerp multiplier="10"/></keyframe>)",
         loader + "a \"slerp\" quaternion of length zero; it reads as the identity"},
        {R"(<keyframe entity="CAMERA" time="0.0"><orientation/></keyframe>)",
         loader + "an \"orientation\" quaternion of length zero; it reads as the identity"},
        {R"(<keyframe entity="entity_door" time="0"><orientation w="1e-30"/></keyframe>)",
         "SceneObjectControl::setOrientation(): entity_door" + tiny},
        {R"(<keyframe entity="CAMERA" time="0"><orientation w="1e-30"/></keyframe>)",
         "ViewerApplication::setOrientation(): PlayerCam" + tiny},
        {R"(<keyframe entity="entity_door" time="0"><position x="3e38"/><velocity x="3e38"/>
            </keyframe>)",
         "SceneObjectControl::update(): entity_door: would be placed beyond the range of "
         "floats; movement stopped"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.keyframe);
        app.write("keyframes.xml",
                  std::string("<keyframes>\n  ") + row.keyframe + "\n</keyframes>\n");
        std::filesystem::remove_all(app.path() + "/frames");
        const ShellCommand::Outcome run = runHost(configuration, 20, app.path());
        EXPECT_EQ(run.status, EXIT_CODE_OK);
        Lines lines;
        for (const char* prefix :
             {"KeyframeLoader::", "SceneObjectControl::", "ViewerApplication::"})
            for (const std::string& line : linesOf(run.output, prefix))
                lines.push_back(line);
        EXPECT_EQ(lines, Lines{row.line});
        EXPECT_TRUE(std::filesystem::exists(app.path() + "/frames/frame_000020.png"));
    }
}

} // namespace
} // namespace corvane::testing
