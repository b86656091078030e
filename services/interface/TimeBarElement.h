#pragma once

#include "framework/IGuiProgressBar.h"
#include "services/interface/OverlayGuiElement.h"

namespace corvane {

// The time bar: an element that also answers IGuiProgressBar. The share is shown by the
// width of its "<name>/Fill" child, a fraction of the bar's own width, and by where its
// "<name>/Handle" child stands. The service takes clicks and drags on it as seeks.
class TimeBarElement final : public OverlayGuiElement, public IGuiProgressBar {
public:
    explicit TimeBarElement(Ogre::OverlayElement* element);

    HRESULT QueryInterface(const UUID& iid, void** out) override;
    std::int32_t AddRef() override;
    std::int32_t Release() override;

    float getProgress() override;
    void setCaption(const std::string& caption) override;
    void setProgress(float percent) override;

    // Whether a place (fractions of the window) is on the bar, or close enough above or
    // below it to grab it, while it is shown.
    bool grabbedAt(float x, float y) const;
    // The share of the bar left of `x` (a fraction of the window), 0 to 1.
    float fractionAt(float x) const;

private:
    Ogre::OverlayElement* child(const char* suffix) const;

    float progress = 0.0f;
};

} // namespace corvane
