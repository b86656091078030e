#pragma once

#include <OgreAxisAlignedBox.h>
#include <OgreColourValue.h>
#include <OgreMovableObject.h>
#include <OgreRenderOperation.h>
#include <OgreRenderable.h>
#include <Overlay/OgreFont.h>
#include <string>

namespace corvane {

// A text label in the scene graph: attached to a scene node like any movable object,
// drawn with a bitmap font as one quad per character, always facing the camera that
// renders it, over the rest of the scene (no depth test), unlit and in one colour.
// Made and freed with OGRE_NEW / OGRE_DELETE like the engine's own objects.
class MovableText : public Ogre::MovableObject, public Ogre::Renderable {
public:
    // Throws the engine's exception (invalid parameters) for an empty name or caption,
    // and (item not found) for a font the engine does not have.
    MovableText(const std::string& name, const std::string& caption, const std::string& fontName,
                unsigned int charHeight, const Ogre::ColourValue& colour);
    ~MovableText() override;

    // Chooses the font and gives the label its own copy of the font's material, named
    // after the label ("<name>Material"). A font the engine does not have raises the
    // engine's exception (item not found) and leaves the label with the font it has.
    void setFontName(const std::string& fontName);
    // Replaces the text: UTF-8 (Utf8Text), one glyph per character, a line break starting a
    // new line; a character the font lacks shows as the font's replacement glyph. The
    // geometry is rebuilt before the next draw when it changed.
    void setCaption(const std::string& caption);
    const std::string& getCaption() const { return caption; }

    // MovableObject.
    const Ogre::String& getMovableType() const override;
    void _notifyCurrentCamera(Ogre::Camera* camera) override;
    const Ogre::AxisAlignedBox& getBoundingBox() const override;
    Ogre::Real getBoundingRadius() const override;
    void _updateRenderQueue(Ogre::RenderQueue* queue) override;
    void visitRenderables(Ogre::Renderable::Visitor* visitor, bool debugRenderables) override;

    // Renderable.
    const Ogre::MaterialPtr& getMaterial() const override;
    void getRenderOperation(Ogre::RenderOperation& operation) override;
    // Faces the camera, ignores the node's orientation, and is drawn at half the node's
    // scale; unchanged while invisible or before a camera announced itself.
    void getWorldTransforms(Ogre::Matrix4* transform) const override;
    Ogre::Real getSquaredViewDepth(const Ogre::Camera* camera) const override;
    const Ogre::LightList& getLights() const override;
    // The camera's derived orientation (identity before a camera announced itself).
    Ogre::Quaternion getWorldOrientation() const;
    // The parent node's derived position (zero while detached).
    Ogre::Vector3 getWorldPosition() const;

    // The geometry as the last build left it.
    const Ogre::VertexData* getVertexData() const { return renderOperation.vertexData; }
    unsigned int getSpaceWidth() const { return spaceWidth; }
    bool needsGeometryUpdate() const { return needGeometryUpdate; }
    bool needsColourUpdate() const { return needColourUpdate; }
    // How often the geometry was built, for callers that check laziness.
    unsigned long getBuildCount() const { return buildCount; }

    // The render-queue priority of every label.
    static constexpr unsigned short RENDER_PRIORITY = 100;

private:
    void setupGeometry();
    void updateColours();
    // The geometry and colours brought up to date where they are stale.
    void refresh();
    void releaseMaterial();

    std::string fontName;
    std::string caption;
    Ogre::ColourValue colour = Ogre::ColourValue::White;
    Ogre::RenderOperation renderOperation;
    Ogre::AxisAlignedBox boundingBox;
    Ogre::LightList lights;
    unsigned int charHeight = 0;
    unsigned int spaceWidth = 0;
    bool needGeometryUpdate = false;
    bool needColourUpdate = true;
    Ogre::Real boundingRadius = 0;
    Ogre::Camera* camera = nullptr;
    Ogre::FontPtr font;
    Ogre::MaterialPtr material;
    unsigned long buildCount = 0;
};

} // namespace corvane
