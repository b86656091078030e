#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "framework/IUnknown.h"

namespace corvane {

// The viewer's frames drawn off-screen, for plug-ins that record the scene as a film: a
// render target of its own size, drawn instead of the window, on which the overlays are not
// drawn unless asked for. Id {9CE9A02C-0920-43FD-9FC0-8259A29EEC48}. Only after the viewer has
// started.
class IFrameSource : public IUnknown {
public:
    // Slot 3: from the next frame on, draws into a target of `width` x `height` pixels
    // instead of the window, which is hidden and no longer drawn; the camera takes the
    // target's shape. False, with one line, when the render system cannot make a target of
    // that size; the window is drawn as before then.
    virtual bool openTarget(std::uint32_t width, std::uint32_t height) = 0;
    // Slot 4: an overlay element drawn on the target, with what lies inside it and the
    // containers it lies in (by name, as the overlay names it); none at first, so that the
    // target shows the scene alone. Elements hidden by their overlay stay hidden.
    virtual void showOverlayElement(const std::string& name) = 0;
    // Slot 5: whether the coming frames are drawn (at first they are). A frame that is not
    // drawn moves the scene and runs the engine's own frame work, as a drawn one does, so
    // that the frames drawn after it come out the same.
    virtual void setDrawing(bool drawing) = 0;
    // Slot 6: copies the frame drawn last into `pixels`: rows from the top, `rowBytes` apart
    // (at least 4 times the width, a multiple of 4), of 4 bytes a pixel: red, green, blue and
    // one that means nothing. False, copying nothing, when no frame has been drawn into the
    // target.
    virtual bool readFrame(std::uint8_t* pixels, std::size_t rowBytes) = 0;
    // Slot 7: the target's width in pixels; 0 without a target.
    virtual std::uint32_t getTargetWidth() = 0;
    // Slot 8: the target's height in pixels; 0 without a target.
    virtual std::uint32_t getTargetHeight() = 0;

protected:
    ~IFrameSource() = default;
};

} // namespace corvane
