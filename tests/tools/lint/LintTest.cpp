#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <string>

#include "tests/support/ShellCommand.h"
#include "tests/support/TemporaryFolder.h"

namespace corvane {
namespace {

using testing::TemporaryFolder;

using Outcome = testing::ShellCommand::Outcome;

// `corvane lint ARGUMENTS` in `folder`, over the generated media.
Outcome lint(const std::string& folder, const std::string& arguments) {
    return testing::ShellCommand::run(
        "cd '" + folder + "' && env " CORVANE_HOST_ENVIRONMENT " '" CORVANE_HOST "' lint " +
        arguments + " --media '" CORVANE_MEDIA_FOLDER "' 2>/dev/null");
}

std::string scene(const std::string& extraNodes) {
    return "<scene><nodes>\n"
           "<node name=\"door\"><entity name=\"door\" meshfile=\"door.mesh\"/></node>\n"
           "<node name=\"figure\"><entity name=\"figure\" meshfile=\"figure.mesh\"/></node>\n"
           "<node name=\"gift\"><entity name=\"gift\" meshfile=\"gift.mesh\"/></node>\n"
           "<node name=\"box\"><entity name=\"box\" meshfile=\"box.mesh\"/></node>\n"
           "<node name=\"lift\"><animations><animation name=\"rise\" length=\"1\">"
           "<keyframe time=\"0\"/></animation></animations></node>\n" +
           extraNodes + "</nodes></scene>\n";
}

// Every kind of action that the scene has names for, a cue-only keyframe with a made-up
// entity and a camera moving towards its target: none of it is a finding.
const std::string CLEAN_SCRIPT =
    "<keyframes>\n"
    "<keyframe entity=\"entity_door\" time=\"0\"><animation name=\"open\" type=\"PLAY\" "
    "value=\"1\"/><animation name=\"open\" type=\"PLAYTARGET\" value=\"2\"/></keyframe>\n"
    "<keyframe entity=\"entity_figure\" time=\"0\"><animation name=\"Walk\" "
    "type=\"WEIGHTSLIDE\" value=\"-1\"/><animation name=\"Walk\" type=\"WEIGHTSLIDETARGET\"/>"
    "</keyframe>\n"
    "<keyframe entity=\"entity_gift\" time=\"0.5\"><animation name=\"Hand.R:entity_figure\" "
    "type=\"ATTATCHTOBONE\"/></keyframe>\n"
    "<keyframe entity=\"entity_figure\" time=\"0.7\"><animation name=\"entity_gift\" "
    "type=\"DETATCHFROMBONE\"/></keyframe>\n"
    "<keyframe entity=\"entity_gift\" time=\"0.8\"><animation name=\"node_box\" "
    "type=\"ATTATCHTOSCENENODE\"/></keyframe>\n"
    "<keyframe entity=\"narrator\" time=\"0.5\"><animation name=\"door\" type=\"PLAYSOUND\"/>"
    "<animation name=\"Hello\" type=\"STATUSTEXT\"/></keyframe>\n"
    "<keyframe entity=\"CAMERA\" time=\"0.5\"><position z=\"30\"/><velocity z=\"-1\"/>"
    "<velocitytarget z=\"10\"/></keyframe>\n"
    "<keyframe entity=\"node_lift\" time=\"0.5\"><animation name=\"rise\" type=\"PLAY\" "
    "value=\"1\"/></keyframe>\n";

const std::string CONFIGURATION = "<corvane><plugin library=\"Sound\"><environment>"
                                  "<sound name=\"door\" file=\"door.wav\"/></environment>"
                                  "</plugin></corvane>";

const std::string SCRIPT_ARGUMENTS = "scene/test.scene keyframes.xml --config corvane.xml";

struct Pair {
    TemporaryFolder folder;
    Pair(const std::string& extraNodes, const std::string& keyframes) {
        // Files that a render cannot use, for nodes that name them.
        folder.write("scene/short.mesh",
                     TemporaryFolder::read(CORVANE_MEDIA_FOLDER "/figure.mesh").substr(0, 5000));
        folder.write("scene/crate.png", "\x89PNG\r\n\x1a\nnot an image at all");
        folder.write("scene/crate.material",
                     "material Crate {\ntechnique {\npass {\ntexture_unit {\ntexture crate.png\n"
                     "}\n}\n}\n}\n");
        folder.write("scene/moss.material",
                     "material Moss {\ntechnique {\npass {\ntexture_unit {\ntexture moss.png\n"
                     "}\n}\n}\n}\n");
        folder.write("scene/test.scene", scene(extraNodes));
        folder.write("keyframes.xml", CLEAN_SCRIPT + keyframes + "</keyframes>\n");
        folder.write("corvane.xml", CONFIGURATION);
    }
    Outcome run(const std::string& options = "") const {
        return lint(folder.path(), SCRIPT_ARGUMENTS + options);
    }
};

TEST(Lint, EachPlantedFaultIsItsOwnLineInFileOrder) {
    // Planted in the scene: each row one node line and the loader's line about it, at that
    // line or at the file it names (@FOLDER stands for the project's folder).
    const struct {
        const char* node;
        const char* line;
        const char* file = nullptr;
    } sceneRows[] = {
        {"<node name=\"lost\"><entity name=\"lost\" meshfile=\"lost.mesh\"/></node>",
         "entity_lost cannot load mesh \"lost.mesh\": Cannot locate resource lost.mesh in "
         "resource group OgreAutodetect."},
        {"<node name=\"box\"/>",
         "there is already a node node_box; the node and its children are skipped"},
        {"<node name=\"short\"><entity name=\"short\" meshfile=\"short.mesh\"/></node>",
         "entity_short cannot load mesh \"short.mesh\": @FOLDER/scene/short.mesh is cut short: "
         "5000 bytes, and its data goes on past them"},
        // Textures are read once the scene is loaded.
        {"<node name=\"crate\"><entity name=\"crate\" meshfile=\"box.mesh\" "
         "material=\"Crate\"/></node>",
         "texture crate.png (@FOLDER/scene/crate.png) cannot be used: Error decoding image: "
         "first not IHDR; its layer is left blank",
         "@FOLDER/scene/crate.png"},
        {"<node name=\"moss\"><entity name=\"moss\" meshfile=\"box.mesh\" "
         "material=\"Moss\"/></node>",
         "material \"Moss\" names texture moss.png, which is in no folder of the scene; its "
         "layer is left blank",
         "@FOLDER/scene/moss.material"},
    };
    // Planted in the script: each row one line, at its own time T, and what is said of it
    // (@LINE stands for that line's number).
    const struct {
        const char* fault;
        const char* keyframes;
        const char* finding;
    } scriptRows[] = {
        {"an entity the scene lacks", "<keyframe entity=\"entity_dor\" time=\"@T\"/>",
         "error: keyframe at @T: entity \"entity_dor\" is not in the scene (did you mean "
         "\"entity_door\"?)"},
        {"an animation the skeleton lacks",
         "<keyframe entity=\"entity_door\" time=\"@T\"><animation name=\"opne\" type=\"SETLOOP\" "
         "value=\"1\"/></keyframe>",
         "error: keyframe at @T: entity_door has no animation \"opne\" (did you mean \"open\"?)"},
        {"a holder the scene lacks",
         "<keyframe entity=\"entity_gift\" time=\"@T\"><animation name=\"Hand.R:entity_figur\" "
         "type=\"ATTATCHTOBONE\"/></keyframe>",
         "error: keyframe at @T: the holder \"entity_figur\" is not in the scene (did you mean "
         "\"entity_figure\"?)"},
        {"a bone the holder lacks",
         "<keyframe entity=\"entity_gift\" time=\"@T\"><animation name=\"Hand.RR:entity_figure\" "
         "type=\"ATTATCHTOBONE\"/></keyframe>",
         "error: keyframe at @T: entity_figure has no bone \"Hand.RR\" (did you mean \"Hand.R\"?)"},
        {"a holder without a skeleton",
         "<keyframe entity=\"entity_gift\" time=\"@T\"><animation name=\"Top:entity_box\" "
         "type=\"ATTATCHTOBONE\"/></keyframe>",
         "error: keyframe at @T: entity_box has no skeleton to hang entity_gift on"},
        {"an entity on its own skeleton",
         "<keyframe entity=\"entity_figure\" time=\"@T\"><animation name=\"Hand.L:entity_figure\" "
         "type=\"ATTATCHTOBONE\"/></keyframe>",
         "error: keyframe at @T: entity_figure cannot hang on its own bone \"Hand.L\""},
        {"a detach of what never hung there",
         "<keyframe entity=\"entity_door\" time=\"@T\"><animation name=\"entity_gift\" "
         "type=\"DETATCHFROMBONE\"/></keyframe>",
         "error: keyframe at @T: \"entity_gift\" does not hang on a bone of entity_door before "
         "this time"},
        {"a scene node without its prefix",
         "<keyframe entity=\"entity_box\" time=\"@T\"><animation name=\"door\" "
         "type=\"ATTATCHTOSCENENODE\"/></keyframe>",
         "error: keyframe at @T: there is no scene node \"door\" (did you mean \"node_door\"? "
         "scene nodes carry the prefix \"node_\")"},
        {"a scene node the scene lacks",
         "<keyframe entity=\"entity_box\" time=\"@T\"><animation name=\"node_nowhere\" "
         "type=\"ATTATCHTOSCENENODE\"/></keyframe>",
         "error: keyframe at @T: there is no scene node \"node_nowhere\""},
        {"a sound the Sound plug-in lacks",
         "<keyframe entity=\"narrator\" time=\"@T\"><animation name=\"dor\" type=\"STOPSOUND\"/>"
         "</keyframe>",
         "error: keyframe at @T: the Sound plug-in of the configuration defines no sound \"dor\" "
         "(did you mean \"door\"?)"},
        {"an animation a scene node lacks",
         "<keyframe entity=\"node_lift\" time=\"@T\"><animation name=\"rsie\" type=\"PLAY\" "
         "value=\"1\"/></keyframe>",
         "error: keyframe at @T: node_lift has no animation \"rsie\" (did you mean \"rise\"?)"},
        {"a misspelt element",
         "<keyframe entity=\"entity_box\" time=\"@T\"><postion x=\"1\"/></keyframe>",
         "error: keyframe at @T: has an unknown element \"postion\" in \"keyframe\" (did you "
         "mean \"position\"?); it is ignored"},
        {"a negative time", "<keyframe entity=\"entity_box\" time=\"-@T\"/>",
         "error: keyframe time \"-@T\" is negative; it falls due at the start"},
        {"an unknown action type",
         "<keyframe entity=\"entity_door\" time=\"@T\"><animation name=\"open\" type=\"PLAYY\"/>"
         "</keyframe>",
         "error: keyframe at @T: has an animation of unknown type \"PLAYY\"; action skipped (did "
         "you mean \"PLAY\"?)"},
        {"a time that is no number", "<keyframe entity=\"entity_door\" time=\"soon\"/>",
         "error: keyframe time \"soon\" is not a finite number; keyframe skipped"},
        {"a time with trailing text", "<keyframe entity=\"entity_door\" time=\"@Ts\"/>",
         "error: keyframe at @T: \"time\" of \"keyframe\" is \"@Ts\", not a plain number; it reads "
         "as @T"},
        {"a value that is no number",
         "<keyframe entity=\"entity_door\" time=\"@T\"><animation name=\"open\" type=\"SETTIME\" "
         "value=\"fast\"/></keyframe>",
         "error: keyframe at @T: \"value\" of \"animation\" is \"fast\", not a number; it reads as "
         "0"},
        {"a quaternion of length zero",
         "<keyframe entity=\"entity_door\" time=\"@T\"><orientation/>"
         "</keyframe>",
         "error: keyframe at @T: has an \"orientation\" quaternion of length zero; it reads as the "
         "identity"},
        {"a weight slide without a target",
         "<keyframe entity=\"entity_door\" time=\"@T\"><animation name=\"open\" "
         "type=\"WEIGHTSLIDE\" value=\"1\"/></keyframe>",
         "warning: keyframe at @T: WEIGHTSLIDE of \"open\" has no WEIGHTSLIDETARGET by this time: "
         "the weight changes without limit"},
        {"a stop time for an animation nothing plays",
         "<keyframe entity=\"entity_figure\" time=\"@T\"><animation name=\"Wave\" "
         "type=\"PLAYTARGET\" value=\"1\"/></keyframe>",
         "warning: keyframe at @T: PLAYTARGET stops \"Wave\" of entity_figure, which no keyframe "
         "plays"},
        {"two keyframes of one entity at one time",
         "<keyframe entity=\"entity_box\" time=\"@T\"/><keyframe entity=\"entity_box\" "
         "time=\"@T\"/>",
         "warning: keyframe at @T: entity_box has another keyframe at this time, on line @LINE; of "
         "the two, the one earlier in the file is applied last"},
        {"a move away from its target",
         "<keyframe entity=\"entity_box\" time=\"@T\"><position x=\"1\"/><velocity x=\"2\"/>"
         "<velocitytarget x=\"-10\"/></keyframe>",
         "warning: keyframe at @T: the move target (-10, 0, 0) is not reached: the velocity (2, 0, "
         "0) leads away from it"},
    };
    const auto replaced = [](std::string text, const std::string& from, const std::string& to) {
        for (std::size_t at; (at = text.find(from)) != std::string::npos;)
            text.replace(at, from.size(), to);
        return text;
    };

    std::string nodes;
    std::string expected;
    // The scene's own nodes take its first six lines.
    int sceneLine = 6;
    for (const auto& row : sceneRows) {
        nodes += row.node + std::string("\n");
        const std::string at = "scene/test.scene:" + std::to_string(++sceneLine);
        expected +=
            (row.file != nullptr ? std::string(row.file) : at) + ": error: " + row.line + "\n";
    }
    std::string keyframes;
    int line = static_cast<int>(std::count(CLEAN_SCRIPT.begin(), CLEAN_SCRIPT.end(), '\n'));
    int errors = static_cast<int>(std::size(sceneRows));
    int warnings = 0;
    int time = 1;
    for (const auto& row : scriptRows) {
        const std::string at = std::to_string(++line);
        const std::string seconds = std::to_string(time++);
        keyframes += replaced(row.keyframes, "@T", seconds) + "\n";
        expected += "keyframes.xml:" + at + ": " +
                    replaced(replaced(row.finding, "@LINE", at), "@T", seconds) + "\n";
        (std::string(row.finding).rfind("error", 0) == 0 ? errors : warnings) += 1;
    }
    expected += std::to_string(errors) + " errors, " + std::to_string(warnings) + " warnings\n";

    const Pair faulty(nodes, keyframes);
    const Outcome outcome = faulty.run();
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.output, replaced(expected, "@FOLDER", faulty.folder.path()));
    // The same findings for editors.
    const nlohmann::json json = nlohmann::json::parse(faulty.run(" --format json").output);
    ASSERT_EQ(json.size(), static_cast<std::size_t>(errors + warnings));
    const nlohmann::json first = {
        {"file", "keyframes.xml"},
        {"line", 10},
        {"severity", "error"},
        {"time", "1"},
        {"message", "entity \"entity_dor\" is not in the scene (did you mean \"entity_door\"?)"}};
    EXPECT_EQ(json[std::size(sceneRows)], first);
}

TEST(Lint, ExitStatusSaysWhetherTheScriptCanPlayAsWritten) {
    const Pair clean("", "");
    const Pair warned("", "<keyframe entity=\"entity_box\" time=\"1\"/>"
                          "<keyframe entity=\"entity_box\" time=\"1\"/>\n");
    const struct {
        const char* name;
        const Pair& pair;
        std::string options;
        int status;
    } rows[] = {
        {"clean", clean, "", 0},
        {"clean and strict", clean, " --strict", 0},
        {"a warning", warned, "", 0},
        {"a warning, strict", warned, " --strict", 1},
        {"a script that is not there", clean, " missing.xml", 2},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const Outcome outcome = row.pair.run(row.options);
        EXPECT_EQ(outcome.status, row.status) << outcome.output;
    }
    EXPECT_EQ(clean.run().output, "0 errors, 0 warnings\n");
}

TEST(Lint, AnExportersSceneOverRealMediaIsCheckedAlike) {
    const std::string sinbad = CORVANE_SHARED_MEDIA "/sinbad";
    if (!std::filesystem::is_directory(sinbad))
        GTEST_SKIP() << "no shared media at " << sinbad;
    TemporaryFolder folder;
    folder.write("scene/sinbad.scene",
                 "<scene><nodes><node name=\"sinbad\"><entity name=\"sinbad\" "
                 "meshFile=\"Sinbad.mesh\"/></node><node name=\"sword\"><entity "
                 "name=\"sword\" meshFile=\"Sword.mesh\"/></node></nodes></scene>");
    folder.write("keyframes.xml",
                 "<keyframes>\n"
                 "<keyframe entity=\"entity_sinbad\" time=\"0\"><animation name=\"RunBsae\" "
                 "type=\"PLAY\" value=\"1\"/></keyframe>\n"
                 "<keyframe entity=\"entity_sword\" time=\"1\"><animation "
                 "name=\"Handel.R:entity_sinbad\" type=\"ATTATCHTOBONE\"/></keyframe>\n"
                 "</keyframes>\n");
    const Outcome outcome =
        lint(folder.path(), "scene/sinbad.scene keyframes.xml --media '" + sinbad + "'");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.output,
              "keyframes.xml:2: error: keyframe at 0: entity_sinbad has no animation \"RunBsae\" "
              "(did you mean \"RunBase\"?)\n"
              "keyframes.xml:3: error: keyframe at 1: entity_sinbad has no bone \"Handel.R\" (did "
              "you mean \"Handle.R\"?)\n"
              "2 errors, 0 warnings\n");
}

// Without a host configuration, a script's sounds are found as play and render find them:
// those that --sounds defines, then NAME.wav, .ogg or .flac in the scene's and media folders.
TEST(Lint, SoundsAreFoundAsPlayFindsThem) {
    TemporaryFolder folder;
    folder.write("scene/test.scene", scene(""));
    folder.write("scene/sfx/creak.ogg", "");
    folder.write("sounds.xml",
                 "<corvane><plugin library=\"Sound\"><environment><sound "
                 "name=\"bell\" file=\"bell.wav\"/></environment></plugin></corvane>");
    // A run of a host configuration finds only its Sound plug-in's.
    folder.write("folders.xml", "<corvane><plugin library=\"Sound\"><environment><folder "
                                "src=\"scene/sfx\"/></environment></plugin></corvane>");
    const struct {
        const char* options;
        const char* sound;
        const char* finding; // after "keyframes.xml:2: error: keyframe at 0: "; empty: none
    } rows[] = {
        {"", "chime", ""}, // in the media folder
        {"", "creak", ""}, // below the scene's folder
        {"", "chimes",
         "there is no sound \"chimes\": the scene's and media folders hold no chimes.wav, "
         "chimes.ogg or chimes.flac (did you mean \"chime\"?)"},
        {" --sounds sounds.xml", "bell", ""},
        {" --sounds sounds.xml", "bel",
         "there is no sound \"bel\": sounds.xml defines none, and the scene's and media folders "
         "hold no bel.wav, bel.ogg or bel.flac (did you mean \"bell\"?)"},
        {" --config folders.xml", "creak", ""},
        {" --config folders.xml", "chime",
         "there is no sound \"chime\": the Sound plug-in of the configuration defines none, and "
         "its folders hold no chime.wav, chime.ogg or chime.flac"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.sound) + row.options);
        folder.write("keyframes.xml", std::string("<keyframes>\n<keyframe entity=\"narrator\" "
                                                  "time=\"0\"><animation name=\"") +
                                          row.sound +
                                          "\" type=\"PLAYSOUND\"/></keyframe>\n"
                                          "</keyframes>\n");
        const Outcome outcome =
            lint(folder.path(), std::string("scene/test.scene keyframes.xml") + row.options);
        EXPECT_EQ(outcome.output, *row.finding == '\0'
                                      ? "0 errors, 0 warnings\n"
                                      : "keyframes.xml:2: error: keyframe at 0: " +
                                            std::string(row.finding) + "\n1 error, 0 warnings\n");
    }
}

// Scripts of every kind, as a render reads them: a material whose pass names GPU programs,
// a font and an overlay that uses it, a particle system. The scene, whatever its file is
// called, and the lists of what the loaders found stay out of the output.
TEST(Lint, AProjectsScriptsOfEveryKindAreReadAsARenderWould) {
    TemporaryFolder folder;
    // One property a line, as the engine's scripts have them.
    const auto script = [](std::string text) {
        for (char& c : text)
            if (c == ';')
                c = '\n';
        return text;
    };
    folder.write(
        "scene/level.program",
        script("vertex_program Level/Wave cg {;source wave.cg;entry_point main;"
               "profiles arbvp1;};fragment_program Level/Tint glsl {;source tint.frag;};"));
    folder.write("scene/level.material",
                 script("material Level/Water {;technique {;pass {;vertex_program_ref Level/Wave {;"
                        "param_named_auto world worldviewproj_matrix;};fragment_program_ref "
                        "Level/Tint {;};texture_unit {;texture flare.png;};};};};"));
    folder.write("scene/level.fontdef", script("font Level/Font {;type truetype;source "
                                               "DejaVuSans.ttf;size 16;resolution 96;};"));
    folder.write("scene/level.overlay",
                 script("overlay Level/Hud {;container Panel(Level/Panel) {;element "
                        "TextArea(Level/Text) {;font_name Level/Font;caption Hi;};};};"));
    folder.write("scene/level.particle",
                 script("particle_system Level/Mist {;emitter Point {;emission_rate 10;};};"));
    const std::string level = "<scene><nodes><node name=\"sea\"><entity name=\"sea\" "
                              "meshfile=\"floor.mesh\" material=\"Level/Water\"/></node>"
                              "</nodes></scene>\n";
    for (const char* name : {"level.scene", "level.xml", ".scene"}) {
        SCOPED_TRACE(name);
        folder.write(std::string("scene/") + name, level);
        const Outcome outcome = lint(folder.path(), std::string("scene/") + name);
        EXPECT_EQ(outcome.status, 0);
        EXPECT_EQ(outcome.output, "0 errors, 0 warnings\n");
    }
}

// Real projects never abort the check: each scene of the shared media gives its findings.
TEST(Lint, EveryRealSceneIsChecked) {
    if (!std::filesystem::is_directory(CORVANE_SHARED_MEDIA))
        GTEST_SKIP() << "no shared media at " << CORVANE_SHARED_MEDIA;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(CORVANE_SHARED_MEDIA)) {
        if (entry.path().extension() != ".scene")
            continue;
        SCOPED_TRACE(entry.path());
        const std::string folder = entry.path().parent_path().string();
        const Outcome outcome = lint(folder, entry.path().filename().string());
        EXPECT_TRUE(outcome.status == 0 || outcome.status == 1) << outcome.output;
        EXPECT_NE(outcome.output.find(" warning"), std::string::npos) << outcome.output;
    }
}

TEST(Lint, TheDemoIsClean) {
    const Outcome outcome =
        lint(CORVANE_DEMO_FOLDER, "scene/demo.scene keyframes.xml --config corvane.xml");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.output, "0 errors, 0 warnings\n");
}

} // namespace
} // namespace corvane
