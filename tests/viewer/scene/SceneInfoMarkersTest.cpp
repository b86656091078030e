#ifdef __SANITIZE_ADDRESS__
#include <sanitizer/lsan_interface.h>
#endif
#include <Ogre.h>
#include <Overlay/OgreFontManager.h>
#include <memory>
#include <set>
#include <sstream>

#include "tests/viewer/ViewerFixture.h"
#include "viewer/ResourceGroup.h"
#include "viewer/control/MovableText.h"
#include "viewer/scene/SceneLoader.h"

namespace corvane {
namespace {

constexpr const char* PREFIX = "dotSceneInfo_";

// Every kind of marked object, with a target node and an entity at the origin that get none.
const char* const MARKED_SCENE = R"(<scene><nodes>
  <node name="door.Target"><position x="10" y="20" z="30"/></node>
  <node name="Target"><position x="1" y="0" z="0"/></node>
  <node name="chairs">
    <position x="5" y="0" z="0"/><scale x="2" y="2" z="2"/>
    <node name="chair"><position x="0" y="2" z="0"/><entity name="chair" meshfile="axes.mesh"/></node>
  </node>
  <node name="origin"><entity name="stool" meshfile="axes.mesh"/></node>
  <node name="sky">
    <position x="0" y="100" z="0"/><rotation qw="0" qx="0" qy="1" qz="0"/>
    <light name="sun"><colour_diffuse r="1" g="0.5" b="0.25"/></light>
    <light name="lamp"/>
  </node>
  <node name="view"><position x="0" y="0" z="50"/><camera name="cam"/></node>
</nodes></scene>)";

const char* const OTHER_SCENE = R"(<scene><nodes>
  <node name="night"><position x="0" y="9" z="0"/><light name="moon"/></node>
</nodes></scene>)";

// Everything named after the markers: info nodes under their parents, the objects attached
// anywhere, and materials.
std::set<std::string> markerObjects(Ogre::SceneManager* scene) {
    std::set<std::string> found;
    auto isMarker = [](const std::string& name) { return name.rfind(PREFIX, 0) == 0; };
    std::vector<Ogre::Node*> nodes{scene->getRootSceneNode()};
    while (!nodes.empty()) {
        auto* node = static_cast<Ogre::SceneNode*>(nodes.back());
        nodes.pop_back();
        if (isMarker(node->getName()))
            found.insert(node->getParent()->getName() + " > " + node->getName());
        for (Ogre::MovableObject* object : node->getAttachedObjects())
            if (isMarker(object->getName()))
                found.insert(node->getName() + " : " + object->getMovableType() + " " +
                             object->getName());
        for (Ogre::Node* child : node->getChildren())
            nodes.push_back(child);
    }
    for (const char* type : {"Entity", "BillboardSet"})
        for (const auto& [name, object] : scene->getMovableObjects(type))
            if (isMarker(name) && !object->isAttached())
                found.insert(std::string(type) + " " + name + " (not attached)");
    auto materials = Ogre::MaterialManager::getSingleton().getResourceIterator();
    while (materials.hasMoreElements())
        if (const std::string& name = materials.getNext()->getName(); isMarker(name))
            found.insert("Material " + name);
    return found;
}

// Loads of scene files with markers on, by a loader of the test's own, into a started viewer.
class SceneInfoMarkersTest : public testing::ViewerTest {
protected:
    void SetUp() override {
        ViewerTest::SetUp();
        if (IsSkipped())
            return;
        folder->write("scene/marked.scene", MARKED_SCENE);
        folder->write("scene/other.scene", OTHER_SCENE);
        viewer->addResourceLocation(folder->path() + "/scene", "FileSystem");
    }

    void TearDown() override {
        loader.reset();
        ViewerTest::TearDown();
    }

    // The diagnostic lines of the load that are not scene resource names.
    std::string load(const std::string& file) {
        ::testing::internal::CaptureStderr();
        EXPECT_TRUE(loader->load(file, viewer->getSceneManager(), nullptr, true, nullptr));
        std::string problems;
        std::istringstream lines(::testing::internal::GetCapturedStderr());
        for (std::string line; std::getline(lines, line);)
            if (line.find(".scene") == std::string::npos || line.find("::") != std::string::npos)
                problems += line + "\n";
        return problems;
    }

    std::unique_ptr<SceneLoader> loader = std::make_unique<SceneLoader>();
};

TEST_F(SceneInfoMarkersTest, EveryKindOfObjectGetsItsNamedMarker) {
    start();
    EXPECT_EQ(load("marked.scene"), "");
    const std::set<std::string> expected = {
        "node_door.Target > dotSceneInfo_node_node_door.Target",
        "dotSceneInfo_node_node_door.Target : Entity dotSceneInfo_axes_door.Target",
        "dotSceneInfo_node_node_door.Target : MovableText dotSceneInfo_text_door.Target",
        "node_chair > dotSceneInfo_node_entity_chair",
        "dotSceneInfo_node_entity_chair : MovableText dotSceneInfo_text_entity_chair",
        "node_sky > dotSceneInfo_node_light_sun",
        "dotSceneInfo_node_light_sun : BillboardSet dotSceneInfo_bset_sun",
        "dotSceneInfo_node_light_sun : MovableText dotSceneInfo_text_sun",
        "node_sky > dotSceneInfo_node_light_lamp",
        "dotSceneInfo_node_light_lamp : BillboardSet dotSceneInfo_bset_lamp",
        "dotSceneInfo_node_light_lamp : MovableText dotSceneInfo_text_lamp",
        "node_view > dotSceneInfo_node_camera_camera_cam",
        "dotSceneInfo_node_camera_camera_cam : BillboardSet dotSceneInfo_bset_camera_cam",
        "dotSceneInfo_node_camera_camera_cam : MovableText dotSceneInfo_text_camera_cam",
        "Material dotSceneInfo_text_door.TargetMaterial",
        "Material dotSceneInfo_text_entity_chairMaterial",
        "Material dotSceneInfo_text_sunMaterial",
        "Material dotSceneInfo_text_lampMaterial",
        "Material dotSceneInfo_text_camera_camMaterial",
    };
    EXPECT_EQ(markerObjects(viewer->getSceneManager()), expected);

    // In the order the loader meets the objects; placements are derived, in world space.
    Ogre::Camera* camera = viewer->getSceneManager()->getCamera("camera_cam");
    const std::vector<std::string> captions = {
        "TargetNode : door.Target\nPosition : 10 20 30",
        "Mesh : entity_chair\nPosition : 5 4 0\nRotation : 1 0 0 0\nScale : 2 2 2",
        "Light : sun\nPosition : 0 100 0\nRotation : 0 0 1 0",
        "Light : lamp\nPosition : 0 100 0\nRotation : 0 0 1 0",
        "Camera : camera_cam\nPosition : 0 0 50\nCamera direction : " +
            Ogre::StringConverter::toString(camera->getDerivedDirection()),
    };
    std::vector<std::string> made;
    for (const MovableText* label : loader->getInfoLabels())
        made.push_back(label->getCaption());
    EXPECT_EQ(made, captions);
}

TEST_F(SceneInfoMarkersTest, FlaresAndAxesAreDrawnAsTheirMarkersSay) {
    start();
    load("marked.scene");
    Ogre::SceneManager* scene = viewer->getSceneManager();
    const struct {
        const char* set;
        const char* material;
        Ogre::ColourValue colour;
    } flares[] = {
        {"dotSceneInfo_bset_sun", "MRK/FlarePoint", Ogre::ColourValue(1, 0.5f, 0.25f)},
        {"dotSceneInfo_bset_lamp", "MRK/FlarePoint", Ogre::ColourValue::White},
        {"dotSceneInfo_bset_camera_cam", "MRK/Camera", Ogre::ColourValue::White},
    };
    for (const auto& flare : flares) {
        SCOPED_TRACE(flare.set);
        Ogre::BillboardSet* set = scene->getBillboardSet(flare.set);
        EXPECT_EQ(set->getMaterialName(), flare.material);
        EXPECT_EQ(set->getPoolSize(), 20u);
        EXPECT_EQ(set->getDefaultWidth(), 50.0f);
        EXPECT_EQ(set->getDefaultHeight(), 50.0f);
        ASSERT_EQ(set->getNumBillboards(), 1);
        EXPECT_EQ(set->getBillboard(0)->getPosition(), Ogre::Vector3::ZERO);
        EXPECT_EQ(set->getBillboard(0)->getColour(), flare.colour);
    }
    const Ogre::MaterialPtr& axes =
        scene->getEntity("dotSceneInfo_axes_door.Target")->getSubEntity(0)->getMaterial();
    EXPECT_FALSE(axes->getTechnique(0)->getPass(0)->getDepthCheckEnabled());
}

TEST_F(SceneInfoMarkersTest, TheViewersOwnLoadAndALoadWithInformationOffMakeNoMarkers) {
    viewer->setSceneFile("marked.scene");
    start();
    ASSERT_TRUE(viewer->getSceneManager()->hasEntity("entity_chair"));
    EXPECT_EQ(markerObjects(viewer->getSceneManager()), std::set<std::string>{});

    EXPECT_TRUE(loader->load("other.scene", viewer->getSceneManager(), nullptr, false, nullptr));
    EXPECT_EQ(markerObjects(viewer->getSceneManager()), std::set<std::string>{});
    EXPECT_TRUE(loader->getInfoLabels().empty());
}

TEST_F(SceneInfoMarkersTest, TheNextLoadTakesTheLabelsAndTheirMaterialsAway) {
    start();
    load("marked.scene");
    load("other.scene");
    std::set<std::string> labels;
    for (const std::string& line : markerObjects(viewer->getSceneManager()))
        if (line.find("_text_") != std::string::npos)
            labels.insert(line);
    EXPECT_EQ(labels, (std::set<std::string>{
                          "dotSceneInfo_node_light_moon : MovableText dotSceneInfo_text_moon",
                          "Material dotSceneInfo_text_moonMaterial"}));
    ASSERT_EQ(loader->getInfoLabels().size(), 1u);
    // The first load's info nodes and flares stay.
    EXPECT_TRUE(viewer->getSceneManager()->hasBillboardSet("dotSceneInfo_bset_sun"));
    ASSERT_TRUE(frame(0.0f));
}

TEST_F(SceneInfoMarkersTest, WithoutTheFontEachLoadSaysSoOnceAndKeepsTheOtherParts) {
    start();
    Ogre::FontManager::getSingleton().remove(SceneInfoMarkers::FONT, VIEWER_RESOURCE_GROUP);
    const std::string noFont = "SceneInfoMarkers::addLabel(): no information labels in this "
                               "load: Could not find font TrebuchetMSBold\n";
    EXPECT_EQ(load("marked.scene"), noFont);
    EXPECT_TRUE(loader->getInfoLabels().empty());
    Ogre::SceneManager* scene = viewer->getSceneManager();
    EXPECT_TRUE(scene->hasEntity("dotSceneInfo_axes_door.Target"));
    EXPECT_TRUE(scene->hasBillboardSet("dotSceneInfo_bset_camera_cam"));
    EXPECT_TRUE(scene->hasSceneNode("dotSceneInfo_node_entity_chair"));
    EXPECT_EQ(load("other.scene"), noFont);
    EXPECT_TRUE(scene->hasBillboardSet("dotSceneInfo_bset_moon"));
}

TEST_F(SceneInfoMarkersTest, ALoaderThatOutlivesTheEngineFreesItsLabelsOnly) {
#ifdef __SANITIZE_ADDRESS__
    // Once the engine is gone, the labels let go of what they held in it without freeing
    // it (the engine's managers that would free it are gone): memory the process hands
    // back at its end, not a leak to report.
    __lsan::ScopedDisabler deliberatelyLetGo;
#endif
    ASSERT_TRUE(viewer->start()); // no frames: nothing else holds on to the engine
    load("marked.scene");
    ASSERT_EQ(loader->getInfoLabels().size(), 5u);
    viewer.reset();
    ASSERT_EQ(Ogre::Root::getSingletonPtr(), nullptr);
    loader.reset();
}

} // namespace
} // namespace corvane
