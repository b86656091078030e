#include <Ogre.h>
#include <OgreOverlay.h>
#include <OgreOverlayManager.h>
#include <OgreParticleSystemManager.h>
#include <tinyxml.h>

#include "tests/viewer/ViewerFixture.h"
#include "viewer/ResourceGroup.h"

namespace corvane {
namespace {

using testing::ViewerTest;

bool hasMaterial(const char* name) {
    return Ogre::MaterialManager::getSingleton().resourceExists(name, VIEWER_RESOURCE_GROUP);
}

// Made-up projects with one fault each, side by side. Every fault costs only itself, with
// one line, and the user interface's overlays and every other script's definitions exist.
TEST_F(ViewerTest, AFaultyScriptCostsOnlyItsOwnDefinitions) {
    struct Row {
        const char* file;
        const char* text;
        const char* line;
        const char* kept; // a material defined after the fault
    };
    const Row rows[] = {
        {"a/twice.material",
         "material Crate {}\nmaterial Crate {}\nmaterial MRK/Camera {}\n"
         "material Twice/After {}",
         "ScriptDefinitions::translate(): ../../a/twice.material:2: material \"Crate\" is "
         "defined already; the first definition stays\n",
         "Twice/After"},
        {"b/syntax.material", "material Syntax/Before {}\n}\nmaterial Syntax/Lost {}",
         "ResourceScripts::parse(): ../../b/syntax.material: ScriptLexer - no matching open "
         "bracket '{' found for close bracket '}' at syntax.material:2\n",
         "Syntax/Before"},
        {"c/fire.particle",
         "particle_system Fire\n{\n emitter Volcano {}\n}\nparticle_system Smoke { emitter "
         "Point {} }",
         "ScriptDefinitions::translate(): ../../c/fire.particle:1: particle_system \"Fire\" is "
         "skipped: Cannot find requested emitter type.\n",
         "Corvane/Box"},
        {"d/hud.overlay", "overlay ZORV/Hud { zorder 100 }",
         "ScriptDefinitions::translate(): ../../d/hud.overlay:1: overlay \"ZORV/Hud\" is defined "
         "already; the first definition stays\n",
         "Corvane/Box"},
        {"e/mine.overlay", "overlay Mine\n{\n overlay_element ZORV/Status Panel {}\n}",
         "ScriptDefinitions::translate(): ../../e/mine.overlay:1: overlay \"Mine\" is skipped: "
         "OverlayElement with name ZORV/Status already exists.\n",
         "Corvane/Box"},
        {"f/odd.material", "material Odd\n{\n technique { pass { frobnicate 1 } }\n}",
         "ScriptDefinitions::handleError(): ../../f/odd.material:3: unexpected token: token "
         "\"frobnicate\" is not recognized\n",
         "Odd"},
    };
    std::string environment = "<environment>";
    for (const Row& row : rows) {
        folder->write(row.file, row.text);
        const std::string file = row.file;
        environment += "<searchpath src='../../" + file.substr(0, file.find('/')) + "'/>";
    }
    // Scripts of the kinds above that are whole, after every faulty one.
    folder->write("z/media.material", "material Corvane/Box {}");
    TiXmlDocument document;
    document.Parse((environment + "<searchpath src='../../z'/></environment>").c_str());
    viewer->parseEnvironment(document.RootElement());
    ::testing::internal::CaptureStderr();
    start();
    const std::string output = ::testing::internal::GetCapturedStderr();

    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        EXPECT_NE(output.find(row.line), std::string::npos) << output;
        EXPECT_TRUE(hasMaterial(row.kept));
    }
    Ogre::OverlayManager& overlays = Ogre::OverlayManager::getSingleton();
    for (const char* overlay : {"ZORV/Hud", "ZORV/Windows", "Corvane/Statistics"})
        EXPECT_NE(overlays.getByName(overlay), nullptr) << overlay;
    EXPECT_EQ(overlays.getByName("ZORV/Hud")->getZOrder(), 500);
    EXPECT_EQ(overlays.getByName("Mine"), nullptr);
    // The core's marker keeps its texture; what a fault stopped is not there.
    Ogre::MaterialPtr marker =
        Ogre::MaterialManager::getSingleton().getByName("MRK/Camera", VIEWER_RESOURCE_GROUP);
    EXPECT_EQ(marker->getTechnique(0)->getPass(0)->getNumTextureUnitStates(), 1u);
    EXPECT_FALSE(hasMaterial("Syntax/Lost"));
    Ogre::ParticleSystemManager& particles = Ogre::ParticleSystemManager::getSingleton();
    EXPECT_EQ(particles.getTemplate("Fire"), nullptr);
    ASSERT_NE(particles.getTemplate("Smoke"), nullptr);
    EXPECT_EQ(particles.getTemplate("Smoke")->getNumEmitters(), 1u);
}

TEST_F(ViewerTest, RecursiveLocationsAndLocationsAddedLaterHaveTheirScriptsRead) {
    folder->write("deep/one/two/deep.material", "material Deep {}");
    folder->write("deep/.git/hidden.material", "material Hidden {}");
    folder->write("flat/one/flat.material", "material Flat {}");
    folder->write("late/late.material", "material Late {}");
    TiXmlDocument document;
    // A folder below the recursive one, given on its own too, is read once.
    document.Parse("<environment><searchpath src='../../deep' recursive='true'/>"
                   "<searchpath src='../../deep/one/two'/>"
                   "<searchpath src='../../flat'/></environment>");
    viewer->parseEnvironment(document.RootElement());
    ::testing::internal::CaptureStderr();
    start();
    EXPECT_EQ(::testing::internal::GetCapturedStderr().find("defined already"), std::string::npos);
    EXPECT_TRUE(hasMaterial("Deep"));
    EXPECT_FALSE(hasMaterial("Flat"));
    EXPECT_FALSE(hasMaterial("Hidden"));
    // Files are found by their bare names, as scenes and meshes name them.
    EXPECT_TRUE(Ogre::ResourceGroupManager::getSingleton().resourceExists(VIEWER_RESOURCE_GROUP,
                                                                          "deep.material"));

    // Relative to the start directory, as before set-up.
    viewer->addResourceLocation("../../late", "FileSystem");
    EXPECT_TRUE(hasMaterial("Late"));
}

} // namespace
} // namespace corvane
