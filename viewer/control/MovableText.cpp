#include "viewer/control/MovableText.h"

#include <OgreCamera.h>
#include <OgreException.h>
#include <OgreHardwareBufferManager.h>
#include <OgreMaterialManager.h>
#include <OgreNode.h>
#include <OgreRenderQueue.h>
#include <OgreTechnique.h>
#include <Overlay/OgreFontManager.h>
#include <algorithm>
#include <cmath>

#include "framework/Utf8Text.h"

namespace corvane {

namespace {

constexpr unsigned short POSITION_BINDING = 0;
constexpr unsigned short COLOUR_BINDING = 1;
constexpr std::size_t VERTICES_PER_GLYPH = 6;

// Whether `font` has a glyph for `character`: the engine gives a glyph it lacks no place in
// the font's texture, and nothing would be drawn.
bool hasGlyph(const Ogre::Font& font, char32_t character) {
    const Ogre::Font::UVRect& uv = font.getGlyphTexCoords(character);
    return uv.left != 0.0f || uv.right != 0.0f || uv.top != 0.0f || uv.bottom != 0.0f;
}

// The characters of `caption` as the label draws them: one replacement glyph for each
// character the font lacks (the font's own, else a question mark).
std::u32string glyphsOf(const std::string& caption, const Ogre::Font& font) {
    std::u32string characters = Utf8Text::decode(caption);
    const char32_t replacement =
        hasGlyph(font, Utf8Text::REPLACEMENT) ? Utf8Text::REPLACEMENT : U'?';
    for (char32_t& character : characters)
        if (character != U'\n' && character != U' ' && !hasGlyph(font, character))
            character = replacement;
    return characters;
}

// Lets go of an engine resource without destroying it: a copy that is never freed keeps it.
template <class Pointer>
void abandon(Pointer& pointer) {
    static_cast<void>(new Pointer(pointer));
    pointer.reset();
}

} // namespace

MovableText::MovableText(const std::string& name, const std::string& text, const std::string& font,
                         unsigned int height, const Ogre::ColourValue& textColour)
    : Ogre::MovableObject(name) {
    renderOperation.vertexData = nullptr;
    renderOperation.operationType = Ogre::RenderOperation::OT_TRIANGLE_LIST;
    renderOperation.useIndexes = false;
    if (name.empty())
        OGRE_EXCEPT(Ogre::Exception::ERR_INVALIDPARAMS, "Trying to create MovableText without name",
                    "MovableText::MovableText");
    if (text.empty())
        OGRE_EXCEPT(Ogre::Exception::ERR_INVALIDPARAMS,
                    "Trying to create MovableText \"" + name + "\" without caption",
                    "MovableText::MovableText");
    caption = text;
    fontName = font;
    charHeight = height;
    colour = textColour;
    spaceWidth = 0;
    needColourUpdate = true;
    // The engine's exceptions leave a half-made object: give back what it holds.
    try {
        setFontName(fontName);
        setupGeometry();
    } catch (...) {
        if (renderOperation.vertexData != nullptr)
            OGRE_DELETE renderOperation.vertexData;
        releaseMaterial();
        throw;
    }
}

MovableText::~MovableText() {
    // Once the engine has shut down, its managers are gone, and what the label holds of the
    // engine cannot be given back: destroying it would call into them. It is left to the
    // end of the process.
    if (Ogre::HardwareBufferManager::getSingletonPtr() != nullptr && renderOperation.vertexData)
        OGRE_DELETE renderOperation.vertexData;
    renderOperation.vertexData = nullptr;
    if (Ogre::MaterialManager::getSingletonPtr() == nullptr)
        abandon(material);
    releaseMaterial();
    if (Ogre::FontManager::getSingletonPtr() == nullptr)
        abandon(font);
}

void MovableText::releaseMaterial() {
    if (!material)
        return;
    // The engine removes by name: a later label of the same name may have taken it over.
    Ogre::MaterialManager& materials = Ogre::MaterialManager::getSingleton();
    if (materials.getByName(material->getName(), material->getGroup()) == material)
        materials.remove(material);
    material.reset();
}

void MovableText::setFontName(const std::string& newFontName) {
    if (newFontName == fontName && material && font)
        return;
    // A font that cannot be found or loaded leaves the label with the font it has.
    Ogre::FontPtr found = Ogre::FontManager::getSingleton().getByName(
        newFontName, Ogre::ResourceGroupManager::AUTODETECT_RESOURCE_GROUP_NAME);
    if (!found)
        OGRE_EXCEPT(Ogre::Exception::ERR_ITEM_NOT_FOUND, "Could not find font " + newFontName,
                    "MovableText::setFontName");
    found->load();
    fontName = newFontName;
    font = found;
    releaseMaterial();
    const std::string materialName = mName + "Material";
    // A material left under this name (by a label of the same name) gives way to ours.
    Ogre::MaterialManager& materials = Ogre::MaterialManager::getSingleton();
    const Ogre::MaterialPtr& fontMaterial = font->getMaterial();
    if (Ogre::MaterialPtr stale = materials.getByName(materialName, fontMaterial->getGroup()))
        materials.remove(stale);
    material = fontMaterial->clone(materialName);
    if (!material->isLoaded())
        material->load();
    material->setDepthCheckEnabled(false);
    material->setLightingEnabled(false);
    needGeometryUpdate = true;
}

void MovableText::setCaption(const std::string& text) {
    if (text == caption)
        return;
    caption = text;
    needGeometryUpdate = true;
}

void MovableText::setupGeometry() {
    const std::u32string characters = glyphsOf(caption, *font);
    const std::size_t vertexCount = VERTICES_PER_GLYPH * characters.size();
    Ogre::VertexData*& vertexData = renderOperation.vertexData;
    if (vertexData != nullptr && vertexData->vertexCount != vertexCount) {
        OGRE_DELETE vertexData;
        vertexData = nullptr;
        needColourUpdate = true;
    }
    const bool fresh = vertexData == nullptr;
    if (fresh)
        vertexData = OGRE_NEW Ogre::VertexData();
    vertexData->vertexStart = 0;
    vertexData->vertexCount = vertexCount;
    renderOperation.operationType = Ogre::RenderOperation::OT_TRIANGLE_LIST;
    renderOperation.useIndexes = false;

    Ogre::VertexDeclaration* declaration = vertexData->vertexDeclaration;
    if (fresh) {
        std::size_t offset = 0;
        declaration->addElement(POSITION_BINDING, offset, Ogre::VET_FLOAT3, Ogre::VES_POSITION);
        offset += Ogre::VertexElement::getTypeSize(Ogre::VET_FLOAT3);
        declaration->addElement(POSITION_BINDING, offset, Ogre::VET_FLOAT2,
                                Ogre::VES_TEXTURE_COORDINATES, 0);
        declaration->addElement(COLOUR_BINDING, 0,
                                Ogre::VertexElement::getBestColourVertexElementType(),
                                Ogre::VES_DIFFUSE);
    }
    // The engine cannot lock an empty buffer: an empty caption keeps room for one glyph
    // and draws none.
    const std::size_t room = std::max(vertexCount, VERTICES_PER_GLYPH);
    Ogre::HardwareBufferManager& buffers = Ogre::HardwareBufferManager::getSingleton();
    Ogre::HardwareVertexBufferSharedPtr positions =
        buffers.createVertexBuffer(declaration->getVertexSize(POSITION_BINDING), room,
                                   Ogre::HardwareBuffer::HBU_DYNAMIC_WRITE_ONLY, false);
    Ogre::HardwareVertexBufferSharedPtr colours =
        buffers.createVertexBuffer(declaration->getVertexSize(COLOUR_BINDING), room,
                                   Ogre::HardwareBuffer::HBU_DYNAMIC_WRITE_ONLY, false);
    vertexData->vertexBufferBinding->setBinding(POSITION_BINDING, positions);
    vertexData->vertexBufferBinding->setBinding(COLOUR_BINDING, colours);
    // The new colour buffer holds no colours yet.
    needColourUpdate = true;

    float* out = static_cast<float*>(positions->lock(Ogre::HardwareBuffer::HBL_DISCARD));
    if (spaceWidth == 0)
        spaceWidth = static_cast<unsigned int>(font->getGlyphAspectRatio('A') * charHeight * 2.0f);

    const float lineHeight = 2.0f * static_cast<float>(charHeight);
    float left = -1.0f;
    float top = 1.0f;
    constexpr float DEPTH = -1.0f;
    Ogre::Vector3 smallest = Ogre::Vector3::ZERO;
    Ogre::Vector3 largest = Ogre::Vector3::ZERO;
    float largestSquaredLength = 0.0f;
    bool first = true;
    auto vertex = [&](float x, float y, float u, float v) {
        *out++ = x;
        *out++ = y;
        *out++ = DEPTH;
        *out++ = u;
        *out++ = v;
        const Ogre::Vector3 position(x, y, DEPTH);
        if (first) {
            smallest = largest = position;
            largestSquaredLength = position.squaredLength();
            first = false;
        } else {
            smallest.makeFloor(position);
            largest.makeCeil(position);
            largestSquaredLength = std::max(largestSquaredLength, position.squaredLength());
        }
    };
    for (const char32_t glyph : characters) {
        if (glyph == U'\n') {
            left = -1.0f;
            top -= lineHeight;
            vertexData->vertexCount -= VERTICES_PER_GLYPH;
            continue;
        }
        if (glyph == U' ') {
            left += static_cast<float>(spaceWidth);
            vertexData->vertexCount -= VERTICES_PER_GLYPH;
            continue;
        }
        const float width =
            font->getGlyphAspectRatio(glyph) * static_cast<float>(charHeight) * 2.0f;
        const Ogre::Font::UVRect& uv = font->getGlyphTexCoords(glyph);
        const float bottom = top - lineHeight;
        vertex(left, top, uv.left, uv.top);
        vertex(left, bottom, uv.left, uv.bottom);
        vertex(left + width, top, uv.right, uv.top);
        vertex(left + width, top, uv.right, uv.top);
        vertex(left, bottom, uv.left, uv.bottom);
        vertex(left + width, bottom, uv.right, uv.bottom);
        left += width;
    }
    positions->unlock();

    // A caption of only spaces and line breaks has no vertices: an empty box at the origin.
    // Not the engine's null box, which no camera sees: a label the engine never queues is
    // never rebuilt, and would stay empty after its next caption.
    if (first)
        boundingBox.setExtents(Ogre::Vector3::ZERO, Ogre::Vector3::ZERO);
    else
        boundingBox.setExtents(smallest, largest);
    boundingRadius = std::sqrt(largestSquaredLength);
    ++buildCount;
    if (needColourUpdate)
        updateColours();
    needGeometryUpdate = false;
}

void MovableText::updateColours() {
    const Ogre::uint32 packed = Ogre::VertexElement::convertColourValue(
        colour, Ogre::VertexElement::getBestColourVertexElementType());
    Ogre::HardwareVertexBufferSharedPtr colours =
        renderOperation.vertexData->vertexBufferBinding->getBuffer(COLOUR_BINDING);
    Ogre::uint32* out =
        static_cast<Ogre::uint32*>(colours->lock(Ogre::HardwareBuffer::HBL_DISCARD));
    for (std::size_t i = 0; i < renderOperation.vertexData->vertexCount; ++i)
        *out++ = packed;
    colours->unlock();
    needColourUpdate = false;
}

const Ogre::String& MovableText::getMovableType() const {
    static const Ogre::String type = "MovableText";
    return type;
}

void MovableText::_notifyCurrentCamera(Ogre::Camera* current) {
    camera = current;
}

const Ogre::AxisAlignedBox& MovableText::getBoundingBox() const {
    return boundingBox;
}

Ogre::Real MovableText::getBoundingRadius() const {
    return boundingRadius;
}

void MovableText::_updateRenderQueue(Ogre::RenderQueue* queue) {
    if (!isVisible())
        return;
    refresh();
    queue->addRenderable(this, mRenderQueueID, RENDER_PRIORITY);
}

void MovableText::refresh() {
    if (needGeometryUpdate)
        setupGeometry();
    if (needColourUpdate)
        updateColours();
}

void MovableText::visitRenderables(Ogre::Renderable::Visitor* visitor, bool) {
    visitor->visit(this, 0, false);
}

const Ogre::MaterialPtr& MovableText::getMaterial() const {
    return material;
}

void MovableText::getRenderOperation(Ogre::RenderOperation& operation) {
    if (!isVisible())
        return;
    refresh();
    operation = renderOperation;
}

void MovableText::getWorldTransforms(Ogre::Matrix4* transform) const {
    Ogre::Node* parent = getParentNode();
    if (!isVisible() || camera == nullptr || parent == nullptr)
        return;
    Ogre::Matrix3 rotation;
    camera->getDerivedOrientation().ToRotationMatrix(rotation);
    const Ogre::Vector3& scale = parent->_getDerivedScale();
    Ogre::Matrix3 halfScale = Ogre::Matrix3::IDENTITY;
    halfScale[0][0] = 0.5f * scale.x;
    halfScale[1][1] = 0.5f * scale.y;
    halfScale[2][2] = 0.5f * scale.z;
    *transform = Ogre::Matrix4(rotation * halfScale);
    transform->setTrans(parent->_getDerivedPosition());
}

Ogre::Real MovableText::getSquaredViewDepth(const Ogre::Camera*) const {
    return 0;
}

const Ogre::LightList& MovableText::getLights() const {
    return lights;
}

Ogre::Quaternion MovableText::getWorldOrientation() const {
    return camera != nullptr ? camera->getDerivedOrientation() : Ogre::Quaternion::IDENTITY;
}

Ogre::Vector3 MovableText::getWorldPosition() const {
    const Ogre::Node* parent = getParentNode();
    return parent != nullptr ? parent->_getDerivedPosition() : Ogre::Vector3::ZERO;
}

} // namespace corvane
