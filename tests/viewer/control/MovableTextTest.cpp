#include <Ogre.h>
#include <Overlay/OgreFontManager.h>
#include <memory>
#include <vector>

#include "tests/viewer/ViewerFixture.h"
#include "viewer/ResourceGroup.h"
#include "viewer/control/MovableText.h"
#include "viewer/scene/SceneInfoMarkers.h"

namespace corvane {
namespace {

constexpr unsigned int HEIGHT = 16;
constexpr float LINE = 2.0f * HEIGHT;

struct Vertex {
    float x, y, z, u, v;
};

struct Queued {
    Ogre::Renderable* renderable;
    Ogre::uint8 group;
    Ogre::ushort priority;
};

// What the label adds to a render queue.
class QueueRecorder : public Ogre::RenderQueue::RenderableListener {
public:
    bool renderableQueued(Ogre::Renderable* renderable, Ogre::uint8 group, Ogre::ushort priority,
                          Ogre::Technique**, Ogre::RenderQueue*) override {
        queued.push_back({renderable, group, priority});
        return true;
    }
    std::vector<Queued> queued;
};

// Labels in the font of the scene markers, on a started viewer: fonts need textures.
class MovableTextTest : public testing::ViewerTest {
protected:
    void SetUp() override {
        ViewerTest::SetUp();
        if (IsSkipped())
            return;
        start();
        font = Ogre::FontManager::getSingleton().getByName(SceneInfoMarkers::FONT,
                                                           VIEWER_RESOURCE_GROUP);
        ASSERT_TRUE(font);
        font->load();
    }

    void TearDown() override {
        labels.clear();
        font.reset();
        ViewerTest::TearDown();
    }

    MovableText& make(const std::string& caption, const std::string& name = "L1",
                      const Ogre::ColourValue& colour = Ogre::ColourValue::White) {
        labels.emplace_back(
            OGRE_NEW MovableText(name, caption, SceneInfoMarkers::FONT, HEIGHT, colour));
        return *labels.back();
    }

    // The width of a glyph in label units.
    float width(char32_t glyph) const { return font->getGlyphAspectRatio(glyph) * HEIGHT * 2.0f; }

    // Every vertex the last build wrote, read back from the buffer of positions.
    static std::vector<Vertex> vertices(const MovableText& label) {
        const Ogre::VertexData* data = label.getVertexData();
        std::vector<Vertex> out(data->vertexCount);
        data->vertexBufferBinding->getBuffer(0)->readData(0, out.size() * sizeof(Vertex),
                                                          out.data());
        return out;
    }

    static std::vector<Ogre::uint32> colours(const MovableText& label) {
        const Ogre::VertexData* data = label.getVertexData();
        std::vector<Ogre::uint32> out(data->vertexCount);
        data->vertexBufferBinding->getBuffer(1)->readData(0, out.size() * 4, out.data());
        return out;
    }

    // The six vertices of the quad of `glyph` with its top left corner at (x, y).
    void expectQuad(const Vertex* quad, char32_t glyph, float x, float y) const {
        const Ogre::Font::UVRect& uv = font->getGlyphTexCoords(glyph);
        const float right = x + width(glyph);
        const Vertex expected[6] = {
            {x, y, -1, uv.left, uv.top},           {x, y - LINE, -1, uv.left, uv.bottom},
            {right, y, -1, uv.right, uv.top},      {right, y, -1, uv.right, uv.top},
            {x, y - LINE, -1, uv.left, uv.bottom}, {right, y - LINE, -1, uv.right, uv.bottom}};
        for (int i = 0; i < 6; ++i) {
            SCOPED_TRACE("glyph " + std::to_string(glyph) + ", vertex " + std::to_string(i));
            EXPECT_FLOAT_EQ(quad[i].x, expected[i].x);
            EXPECT_FLOAT_EQ(quad[i].y, expected[i].y);
            EXPECT_EQ(quad[i].z, expected[i].z);
            EXPECT_EQ(quad[i].u, expected[i].u);
            EXPECT_EQ(quad[i].v, expected[i].v);
        }
    }

    struct Destroy {
        void operator()(MovableText* label) const { OGRE_DELETE label; }
    };
    std::vector<std::unique_ptr<MovableText, Destroy>> labels;
    Ogre::FontPtr font;
};

TEST_F(MovableTextTest, GlyphQuadsFollowThePenOverSpacesAndLineBreaks) {
    const float space = static_cast<float>(static_cast<unsigned int>(width('A')));
    const struct {
        const char* caption;
        float bX, bY; // where the quad of B starts
    } rows[] = {
        {"AB", -1 + width('A'), 1},
        {"A B", -1 + width('A') + space, 1},
        {"A\nB", -1, 1 - LINE},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.caption);
        MovableText& label = make(row.caption, row.caption);
        EXPECT_EQ(label.getSpaceWidth(), static_cast<unsigned int>(space));
        const std::vector<Vertex> written = vertices(label);
        ASSERT_EQ(written.size(), 12u);
        expectQuad(&written[0], 'A', -1, 1);
        expectQuad(&written[6], 'B', row.bX, row.bY);
        const float right = std::max(-1 + width('A'), row.bX + width('B'));
        EXPECT_EQ(label.getBoundingBox().getMinimum(), Ogre::Vector3(-1, row.bY - LINE, -1));
        EXPECT_EQ(label.getBoundingBox().getMaximum(), Ogre::Vector3(right, 1, -1));
        // The farthest corner is the bottom right one of B, wider than two units.
        EXPECT_FLOAT_EQ(label.getBoundingRadius(),
                        Ogre::Vector3(row.bX + width('B'), row.bY - LINE, -1).length());
    }
}

// Captions are UTF-8; a byte that begins no UTF-8 character is its Latin-1 character, and
// a character beyond the font is its replacement glyph, not a gap.
TEST_F(MovableTextTest, EachCharacterIsOneGlyphOfTheFontOrItsReplacement) {
    const struct {
        const char* caption;
        std::u32string glyphs;
    } rows[] = {
        {"caf\xC3\xA9 5 \xE2\x82\xAC", U"caf\u00E95\u20AC"},
        {"\xC5\x93uvre \xE2\x80\x94 \xE4\xB8\xAD", U"\u0153uvre\u2014\uFFFD"},
        {"caf\xE9", U"caf\u00E9"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.caption);
        const std::vector<Vertex> written = vertices(make(row.caption, "U"));
        ASSERT_EQ(written.size(), 6 * row.glyphs.size());
        for (std::size_t i = 0; i < row.glyphs.size(); ++i) {
            const Ogre::Font::UVRect& uv = font->getGlyphTexCoords(row.glyphs[i]);
            EXPECT_GT(uv.right, uv.left) << "a glyph in the font for " << row.glyphs[i];
            EXPECT_EQ(written[6 * i].u, uv.left);
            EXPECT_EQ(written[6 * i + 5].v, uv.bottom);
        }
        labels.clear();
    }
}

TEST_F(MovableTextTest, TheSpaceWidthIsTruncatedAndKeptOverLaterBuilds) {
    font->setGlyphAspectRatio('A', 0.6f);
    MovableText& label = make("A B");
    EXPECT_EQ(label.getSpaceWidth(), 19u);
    expectQuad(&vertices(label)[6], 'B', -1 + 0.6f * LINE + 19, 1);

    // A wider A changes A's quads, not the space.
    font->setGlyphAspectRatio('A', 0.9f);
    label.setCaption("B A");
    Ogre::RenderOperation operation;
    label.getRenderOperation(operation);
    EXPECT_EQ(label.getSpaceWidth(), 19u);
    expectQuad(&vertices(label)[6], 'A', -1 + width('B') + 19, 1);
}

TEST_F(MovableTextTest, OnlyAChangedCaptionIsRebuiltAndItsColoursWrittenAgain) {
    const Ogre::ColourValue red(1, 0, 0, 1);
    MovableText& label = make("ABCDE", "L1", red);
    Ogre::RenderQueue queue;
    const Ogre::uint32 packed = Ogre::VertexElement::convertColourValue(
        red, Ogre::VertexElement::getBestColourVertexElementType());
    EXPECT_EQ(colours(label), std::vector<Ogre::uint32>(30, packed));
    const Ogre::VertexData* first = label.getVertexData();

    label.setCaption("ABCDE");
    label._updateRenderQueue(&queue);
    EXPECT_EQ(label.getBuildCount(), 1u);

    // Same length, other bytes: the same vertex data with new buffers, coloured again.
    label.setCaption("VWXYZ");
    EXPECT_TRUE(label.needsGeometryUpdate());
    label._updateRenderQueue(&queue);
    EXPECT_EQ(label.getBuildCount(), 2u);
    EXPECT_EQ(label.getVertexData(), first);
    EXPECT_FALSE(label.needsColourUpdate());
    EXPECT_EQ(colours(label), std::vector<Ogre::uint32>(30, packed));
    expectQuad(&vertices(label)[0], 'V', -1, 1);

    // Nine bytes: new vertex data with room for 54 vertices, of which the seven glyphs use 42.
    label.setCaption("AB CD\nEFG");
    label._updateRenderQueue(&queue);
    const Ogre::VertexData* grown = label.getVertexData();
    EXPECT_EQ(grown->vertexBufferBinding->getBuffer(0)->getNumVertices(), 54u);
    EXPECT_EQ(grown->vertexBufferBinding->getBuffer(1)->getNumVertices(), 54u);
    EXPECT_EQ(grown->vertexCount, 42u);
    EXPECT_EQ(colours(label), std::vector<Ogre::uint32>(42, packed));
    Ogre::RenderOperation operation;
    label.getRenderOperation(operation);
    EXPECT_EQ(operation.vertexData, grown);
    EXPECT_EQ(operation.operationType, Ogre::RenderOperation::OT_TRIANGLE_LIST);
    EXPECT_FALSE(operation.useIndexes);
}

TEST_F(MovableTextTest, AVisibleLabelIsQueuedAtPriority100AndFacesTheCameraAtHalfScale) {
    MovableText& label = make("AB");
    Ogre::SceneNode* node = viewer->getSceneManager()->getRootSceneNode()->createChildSceneNode();
    node->setPosition(1, 2, 3);
    node->setScale(2, 4, 6);
    node->roll(Ogre::Degree(30)); // the label does not turn with its node
    node->attachObject(&label);
    node->_update(true, false);
    Ogre::Camera* camera = viewer->getCamera();
    camera->getParentSceneNode()->yaw(Ogre::Degree(40));
    camera->getParentSceneNode()->_update(true, false);
    label._notifyCurrentCamera(camera);
    label.setRenderQueueGroup(Ogre::RENDER_QUEUE_6);

    Ogre::RenderQueue queue;
    QueueRecorder recorder;
    queue.setRenderableListener(&recorder);
    label._updateRenderQueue(&queue);
    ASSERT_EQ(recorder.queued.size(), 1u);
    EXPECT_EQ(recorder.queued[0].renderable, static_cast<Ogre::Renderable*>(&label));
    EXPECT_EQ(recorder.queued[0].group, Ogre::RENDER_QUEUE_6);
    EXPECT_EQ(recorder.queued[0].priority, 100);

    Ogre::Matrix3 rotation;
    camera->getDerivedOrientation().ToRotationMatrix(rotation);
    Ogre::Matrix4 expected(rotation * Ogre::Matrix3(1, 0, 0, 0, 2, 0, 0, 0, 3));
    expected.setTrans(Ogre::Vector3(1, 2, 3));
    Ogre::Matrix4 transform;
    label.getWorldTransforms(&transform);
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            EXPECT_NEAR(transform[row][column], expected[row][column], 1e-6f) << row << column;
}

TEST_F(MovableTextTest, AnInvisibleLabelIsNeitherRebuiltNorQueuedNorMoved) {
    MovableText& label = make("AB");
    viewer->getSceneManager()->getRootSceneNode()->createChildSceneNode()->attachObject(&label);
    label._notifyCurrentCamera(viewer->getCamera());
    label.setVisible(false);
    label.setCaption("ABC");

    Ogre::RenderQueue queue;
    QueueRecorder recorder;
    queue.setRenderableListener(&recorder);
    label._updateRenderQueue(&queue);
    EXPECT_TRUE(recorder.queued.empty());
    Ogre::RenderOperation operation;
    label.getRenderOperation(operation);
    EXPECT_EQ(operation.vertexData, nullptr);
    EXPECT_TRUE(label.needsGeometryUpdate());
    EXPECT_EQ(label.getBuildCount(), 1u);
    Ogre::Matrix4 transform(Ogre::Matrix4::ZERO);
    label.getWorldTransforms(&transform);
    EXPECT_EQ(transform, Ogre::Matrix4::ZERO);
}

// The engine raises its codes as exception classes of their own.
bool isInvalidParameters(const Ogre::Exception& error) {
    return dynamic_cast<const Ogre::InvalidParametersException*>(&error) != nullptr;
}

bool isItemNotFound(const Ogre::Exception& error) {
    return dynamic_cast<const Ogre::ItemIdentityException*>(&error) != nullptr;
}

TEST_F(MovableTextTest, BadParametersRaiseTheEnginesExceptionAndLeaveNoMaterial) {
    const struct {
        const char* name;
        const char* caption;
        const char* font;
        bool (*isKind)(const Ogre::Exception&);
        const char* description;
        const char* source;
    } rows[] = {
        {"", "text", SceneInfoMarkers::FONT, isInvalidParameters,
         "Trying to create MovableText without name", "MovableText::MovableText"},
        {"L1", "", SceneInfoMarkers::FONT, isInvalidParameters,
         "Trying to create MovableText \"L1\" without caption", "MovableText::MovableText"},
        {"L1", "text", "NoSuchFont", isItemNotFound, "Could not find font NoSuchFont",
         "MovableText::setFontName"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.description);
        try {
            OGRE_DELETE OGRE_NEW MovableText(row.name, row.caption, row.font, HEIGHT,
                                             Ogre::ColourValue::White);
            ADD_FAILURE() << "no exception";
        } catch (const Ogre::Exception& error) {
            EXPECT_TRUE(row.isKind(error)) << error.getFullDescription();
            EXPECT_EQ(error.getDescription(), row.description);
            EXPECT_EQ(error.getSource(), row.source);
            EXPECT_STRNE(error.getFile(), "");
            EXPECT_GT(error.getLine(), 0);
        }
        EXPECT_FALSE(Ogre::MaterialManager::getSingleton().resourceExists("L1Material",
                                                                          VIEWER_RESOURCE_GROUP));
    }

    // A label given a font the engine does not have keeps the one it has.
    MovableText& label = make("AB");
    EXPECT_THROW(label.setFontName("NoSuchFont"), Ogre::ItemIdentityException);
    label.setCaption("CD");
    Ogre::RenderOperation operation;
    label.getRenderOperation(operation);
    EXPECT_EQ(operation.vertexData->vertexCount, 12u);
    EXPECT_EQ(label.getMaterial()->getName(), "L1Material");
}

TEST_F(MovableTextTest, TheLabelsOwnMaterialIsNamedAfterItAndGoesWithIt) {
    Ogre::MaterialManager& materials = Ogre::MaterialManager::getSingleton();
    MovableText& label = make("AB");
    const Ogre::MaterialPtr& material = label.getMaterial();
    ASSERT_TRUE(material);
    EXPECT_EQ(material->getName(), "L1Material");
    EXPECT_NE(material, font->getMaterial());
    EXPECT_TRUE(material->isLoaded());
    const Ogre::Pass* pass = material->getTechnique(0)->getPass(0);
    EXPECT_FALSE(pass->getDepthCheckEnabled());
    EXPECT_FALSE(pass->getLightingEnabled());
    EXPECT_TRUE(font->getMaterial()->getTechnique(0)->getPass(0)->getDepthCheckEnabled());
    EXPECT_EQ(label.getMovableType(), "MovableText");
    EXPECT_TRUE(label.getLights().empty());

    // A second label of the name takes the name over; the first one leaves it to it.
    const MovableText& second = make("CD");
    labels.erase(labels.begin());
    EXPECT_EQ(materials.getByName("L1Material", VIEWER_RESOURCE_GROUP), second.getMaterial());
    labels.clear();
    EXPECT_FALSE(materials.resourceExists("L1Material", VIEWER_RESOURCE_GROUP));
}

TEST_F(MovableTextTest, ACaptionWithoutGlyphsIsAnEmptyBoxAtTheOriginAndCanGrowAgain) {
    MovableText& label = make(" \n ");
    EXPECT_EQ(label.getVertexData()->vertexCount, 0u);
    EXPECT_EQ(label.getBoundingBox(),
              Ogre::AxisAlignedBox(Ogre::Vector3::ZERO, Ogre::Vector3::ZERO));
    EXPECT_EQ(label.getBoundingRadius(), 0.0f);

    // Nothing drawn, and the next caption is drawn: the label stays in view of the engine.
    Ogre::SceneNode* node = viewer->getSceneManager()->getRootSceneNode()->createChildSceneNode(
        Ogre::Vector3(0, 0, -100));
    node->attachObject(&label);
    ASSERT_TRUE(frame(0.0f));
    label.setCaption("");
    ASSERT_TRUE(frame(0.0f));
    EXPECT_EQ(label.getVertexData()->vertexCount, 0u);
    label.setCaption("AB");
    ASSERT_TRUE(frame(0.0f));
    EXPECT_EQ(label.getVertexData()->vertexCount, 12u);
}

TEST_F(MovableTextTest, ALabelIsDrawnOverGeometryThatHidesIt) {
    // A white box at 300 units ahead covers the centre; the green label 200 units behind it.
    testing::addLitBox(viewer->getSceneManager(), 0, 0, -300, 200);
    MovableText& label = make("MMMM\nMMMM", "L1", Ogre::ColourValue::Green);
    Ogre::SceneNode* node = viewer->getSceneManager()->getRootSceneNode()->createChildSceneNode(
        Ogre::Vector3(-40, 30, -500));
    node->setScale(Ogre::Vector3(2));
    node->attachObject(&label);
    ASSERT_TRUE(frame(0.0f));

    int green = 0;
    int box = 0;
    for (float x = 0.4f; x < 0.6f; x += 0.005f)
        for (float y = 0.4f; y < 0.6f; y += 0.005f) {
            const testing::Pixel seen = pixel(x, y);
            green += seen.green > 128 && seen.red < 64 && seen.blue < 64;
            box += seen.red > 64 && seen.red == seen.blue;
        }
    EXPECT_GT(green, 20);
    EXPECT_GT(box, 20);
}

} // namespace
} // namespace corvane
