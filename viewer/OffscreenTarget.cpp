#include "viewer/OffscreenTarget.h"

#include <Ogre.h>
#include <OgreFontManager.h>
#include <OgreOverlay.h>
#include <OgreOverlayContainer.h>
#include <OgreOverlayManager.h>

#include "viewer/ResourceGroup.h"

namespace corvane {

namespace {

const char* const TEXTURE_NAME = "Corvane/OffscreenFrames";

} // namespace

OffscreenTarget::OffscreenTarget(Ogre::Root& root, Ogre::SceneManager& scene, Ogre::Camera& camera)
    : root(root), scene(scene), camera(camera) {}

std::unique_ptr<OffscreenTarget>
OffscreenTarget::create(Ogre::Root& root, Ogre::SceneManager& scene, Ogre::Camera& camera,
                        std::uint32_t width, std::uint32_t height,
                        const Ogre::ColourValue& background, std::string& error) {
    std::unique_ptr<OffscreenTarget> made(new OffscreenTarget(root, scene, camera));
    try {
        made->texture = Ogre::TextureManager::getSingleton().createManual(
            TEXTURE_NAME, VIEWER_RESOURCE_GROUP, Ogre::TEX_TYPE_2D, width, height, 0,
            Ogre::PF_BYTE_RGBA, Ogre::TU_RENDERTARGET);
        // The render system may round a size it cannot make; a film of another size is not
        // the film asked for.
        if (made->texture->getWidth() != width || made->texture->getHeight() != height) {
            error = "the render system makes it " + std::to_string(made->texture->getWidth()) +
                    "x" + std::to_string(made->texture->getHeight());
            return nullptr;
        }
        made->target = made->texture->getBuffer()->getRenderTarget();
        Ogre::Viewport* viewport = made->target->addViewport(&camera);
        viewport->setBackgroundColour(background);
        viewport->setOverlaysEnabled(false);
        // Drawn once here, so that a target the render system cannot draw says so now.
        made->target->update(false);
    } catch (const Ogre::Exception& exception) {
        error = exception.getDescription();
        return nullptr;
    }
    made->targetWidth = width;
    made->targetHeight = height;
    camera.setAspectRatio(static_cast<Ogre::Real>(width) / static_cast<Ogre::Real>(height));
    made->target->addListener(made.get());
    root.addFrameListener(made.get());
    return made;
}

OffscreenTarget::~OffscreenTarget() {
    if (target != nullptr) {
        root.removeFrameListener(this);
        target->removeListener(this);
    }
    if (texture)
        Ogre::TextureManager::getSingleton().remove(texture);
}

void OffscreenTarget::showOverlayElement(const std::string& name) {
    // A text laid out before its font is loaded is laid out as nothing, and stays so until
    // it changes; the window's own overlays may never have loaded the fonts (statistics
    // hidden, or none drawn yet), so they are loaded before the target shows any text.
    if (shownElements.empty())
        if (Ogre::FontManager* fonts = Ogre::FontManager::getSingletonPtr())
            for (const auto& font : fonts->getResourceIterator())
                font.second->load();
    shownElements.insert(name);
    target->getViewport(0)->setOverlaysEnabled(true);
}

void OffscreenTarget::setDrawing(bool draw) {
    drawing = draw;
    target->setAutoUpdated(draw);
}

bool OffscreenTarget::read(std::uint8_t* pixels, std::size_t rowBytes) const {
    if (!drawn || rowBytes < std::size_t(targetWidth) * 4 || rowBytes % 4 != 0)
        return false;
    Ogre::PixelBox box(targetWidth, targetHeight, 1, Ogre::PF_BYTE_RGBA, pixels);
    box.rowPitch = rowBytes / 4;
    box.slicePitch = box.rowPitch * targetHeight;
    target->copyContentsToMemory(Ogre::Box(0, 0, targetWidth, targetHeight), box);
    return true;
}

bool OffscreenTarget::holdsShown(const Ogre::OverlayElement& element) const {
    if (shownElements.count(element.getName()) > 0)
        return true;
    if (!element.isContainer())
        return false;
    for (const auto& child : static_cast<const Ogre::OverlayContainer&>(element).getChildren())
        if (holdsShown(*child.second))
            return true;
    return false;
}

void OffscreenTarget::hideUnasked(Ogre::OverlayElement& element) {
    if (!element.isVisible() || shownElements.count(element.getName()) > 0)
        return;
    if (!holdsShown(element)) {
        element.hide();
        hidden.push_back(&element);
        return;
    }
    for (const auto& child : static_cast<Ogre::OverlayContainer&>(element).getChildren())
        hideUnasked(*child.second);
}

void OffscreenTarget::preViewportUpdate(const Ogre::RenderTargetViewportEvent&) {
    Ogre::OverlayManager* overlays = Ogre::OverlayManager::getSingletonPtr();
    if (shownElements.empty() || overlays == nullptr)
        return;
    for (const auto& overlay : overlays->getOverlayIterator())
        if (overlay.second->isVisible())
            for (Ogre::OverlayContainer* container : overlay.second->get2DElements())
                hideUnasked(*container);
}

void OffscreenTarget::postViewportUpdate(const Ogre::RenderTargetViewportEvent&) {
    for (Ogre::OverlayElement* element : hidden)
        element->show();
    hidden.clear();
}

void OffscreenTarget::postRenderTargetUpdate(const Ogre::RenderTargetEvent&) {
    drawn = true;
}

bool OffscreenTarget::frameRenderingQueued(const Ogre::FrameEvent&) {
    // What the scene manager runs when it draws: first the controllers, then the scene
    // graph's derivation for the camera.
    if (!drawing) {
        Ogre::ControllerManager::getSingleton().updateAllControllers();
        scene._updateSceneGraph(&camera);
    }
    return true;
}

} // namespace corvane
