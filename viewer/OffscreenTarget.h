#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <OgreFrameListener.h>
#include <OgreRenderTargetListener.h>
#include <OgreTexture.h>

namespace Ogre {
class Camera;
class ColourValue;
class OverlayElement;
class RenderTexture;
class Root;
class SceneManager;
} // namespace Ogre

namespace corvane {

// The frames of a film: a render texture of its own size with one viewport for the player
// camera, drawn by the engine's frames instead of the window, and read back row by row.
// Overlays are drawn on it only where asked for: the elements named, with their contents
// and the containers they lie in; everything else of every overlay is hidden while the
// target is drawn and shown again right after, so the window's overlays never notice.
// A frame that is not drawn still runs what a drawn frame runs besides drawing: the
// engine's controllers (material animations, particle systems) and the derivation of the
// scene graph, so that the frames drawn after it come out as in a run that drew them all.
class OffscreenTarget final : public Ogre::RenderTargetListener, public Ogre::FrameListener {
public:
    // A target of `width` x `height` with the given background; null, with the reason in
    // `error`, when the render system cannot make one that size.
    static std::unique_ptr<OffscreenTarget>
    create(Ogre::Root& root, Ogre::SceneManager& scene, Ogre::Camera& camera, std::uint32_t width,
           std::uint32_t height, const Ogre::ColourValue& background, std::string& error);
    ~OffscreenTarget() override;
    OffscreenTarget(const OffscreenTarget&) = delete;
    OffscreenTarget& operator=(const OffscreenTarget&) = delete;

    std::uint32_t width() const { return targetWidth; }
    std::uint32_t height() const { return targetHeight; }

    void showOverlayElement(const std::string& name);
    // Whether the engine's coming frames draw the target.
    void setDrawing(bool drawing);
    bool isDrawing() const { return drawing; }
    // Copies the frame drawn last: rows from the top, 4 bytes a pixel (red, green, blue and
    // one unused). False when none has been drawn.
    bool read(std::uint8_t* pixels, std::size_t rowBytes) const;

    void preViewportUpdate(const Ogre::RenderTargetViewportEvent& event) override;
    void postViewportUpdate(const Ogre::RenderTargetViewportEvent& event) override;
    void postRenderTargetUpdate(const Ogre::RenderTargetEvent& event) override;
    bool frameRenderingQueued(const Ogre::FrameEvent& event) override;

private:
    OffscreenTarget(Ogre::Root& root, Ogre::SceneManager& scene, Ogre::Camera& camera);
    // Whether `element` is asked for or holds an element that is.
    bool holdsShown(const Ogre::OverlayElement& element) const;
    // Hides what of `element` is neither asked for nor holds what is, and keeps it in
    // `hidden` to be shown again.
    void hideUnasked(Ogre::OverlayElement& element);

    Ogre::Root& root;
    Ogre::SceneManager& scene;
    Ogre::Camera& camera;
    Ogre::TexturePtr texture;
    Ogre::RenderTexture* target = nullptr;
    std::uint32_t targetWidth = 0;
    std::uint32_t targetHeight = 0;
    std::set<std::string> shownElements;
    std::vector<Ogre::OverlayElement*> hidden;
    bool drawing = true;
    bool drawn = false;
};

} // namespace corvane
