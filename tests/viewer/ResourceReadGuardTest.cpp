// Files the engine would read without a word about what is wrong with them: each is one line
// naming the file, and costs only what uses it.
#include <Ogre.h>
#include <cstdlib>
#include <stb/stb_image_write.h>
#include <tinyxml.h>
#include <vector>

#include "tests/viewer/ViewerFixture.h"

namespace corvane {
namespace {

using testing::TemporaryFolder;
using testing::ViewerTest;

// A grey PNG file of `side` by `side` pixels at `path`.
void writePng(const std::string& path, int side) {
    const std::vector<unsigned char> pixels(static_cast<std::size_t>(side * side), 0x80);
    stbi_write_png(path.c_str(), side, side, 1, pixels.data(), side);
}

TEST_F(ViewerTest, FilesTheEngineCannotUseAreOneLineEach) {
    const std::string media = CORVANE_DEMO_FOLDER "/media/";
    const std::string figure = TemporaryFolder::read(media + "figure.mesh");
    std::string lone = figure;
    lone.replace(lone.find("figure.skeleton"), 15, "absent.skeleton");
    folder->write("m/box.mesh", TemporaryFolder::read(media + "box.mesh"));
    folder->write("m/walker.mesh", figure);
    folder->write("m/lone.mesh", lone);
    folder->write("m/short.mesh", figure.substr(0, 5000));
    folder->write("m/figure.skeleton",
                  TemporaryFolder::read(media + "figure.skeleton").substr(0, 1000));
    folder->write("m/bad.png", "\x89PNG\r\n\x1a\nnot an image at all");
    writePng(folder->path() + "/m/large.png", 65);
    writePng(folder->path() + "/m/small.png", 64);
    folder->write("m/m.material", R"(material Corvane/Box {}
material Corvane/Figure {}
material Bad { technique { pass { texture_unit { texture bad.png } } } }
material Large { technique { pass { texture_unit { texture large.png } } } }
material Small { technique { pass { texture_unit { texture small.png } } } })");
    folder->write("scene/guard.scene", R"(<scene><nodes>
      <node name="a"><position z="-40"/><entity name="bad" meshfile="box.mesh" material="Bad"/></node>
      <node name="b"><position z="-40"/><entity name="large" meshfile="box.mesh" material="Large"/></node>
      <node name="c"><position z="-40"/><entity name="small" meshfile="box.mesh" material="Small"/></node>
      <node name="d"><position z="-40"/><entity name="short" meshfile="short.mesh"/></node>
      <node name="e"><position z="-40"/><entity name="walker" meshfile="walker.mesh"/></node>
      <node name="f"><position z="-40"/><entity name="lone" meshfile="lone.mesh"/></node>
    </nodes></scene>)");
    viewer->addResourceLocation("../../scene", "FileSystem");
    viewer->addResourceLocation("../../m", "FileSystem");
    viewer->setSceneFile("guard.scene");
    setenv("CORVANE_TEXTURE_LIMIT", "64", 1);
    ::testing::internal::CaptureStderr();
    start();
    ASSERT_TRUE(frame(0.0f));
    const std::string output = ::testing::internal::GetCapturedStderr();
    unsetenv("CORVANE_TEXTURE_LIMIT");

    for (const char* line : {
             "SceneViewer: texture bad.png (../../m/bad.png) cannot be used: Error decoding "
             "image: first not IHDR; its layer is left blank\n",
             "SceneViewer: texture large.png (../../m/large.png) cannot be used: 65 x 65 pixels, "
             "larger than 64 on a side; its layer is left blank\n",
             "SceneLoader::processEntity(): entity_short cannot load mesh \"short.mesh\": "
             "../../m/short.mesh is cut short: 5000 bytes, and its data goes on past them\n",
             "SceneViewer: mesh walker.mesh is not animated: ../../m/figure.skeleton is cut "
             "short: 1000 bytes, and its data goes on past them\n",
             "SceneViewer: mesh lone.mesh is not animated: its skeleton absent.skeleton is in no "
             "folder of the scene\n",
         })
        EXPECT_NE(output.find(line), std::string::npos) << line << "\nin\n" << output;
    EXPECT_EQ(output.find("small.png"), std::string::npos) << output;
    Ogre::SceneManager* scene = viewer->getSceneManager();
    for (const char* entity : {"entity_bad", "entity_large", "entity_walker", "entity_lone"})
        EXPECT_TRUE(scene->hasEntity(entity)) << entity;
    EXPECT_FALSE(scene->hasEntity("entity_short"));
}

} // namespace
} // namespace corvane
