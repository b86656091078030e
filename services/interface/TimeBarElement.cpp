#include "services/interface/TimeBarElement.h"

#include <Overlay/OgreOverlayContainer.h>
#include <algorithm>
#include <cmath>

#include "framework/Identifiers.h"

namespace corvane {

TimeBarElement::TimeBarElement(Ogre::OverlayElement* element) : OverlayGuiElement(element) {}

HRESULT TimeBarElement::QueryInterface(const UUID& iid, void** out) {
    if (iid != IID_IGuiProgressBar)
        return E_FAIL;
    *out = static_cast<IGuiProgressBar*>(this);
    AddRef();
    return S_OK;
}

std::int32_t TimeBarElement::AddRef() {
    return OverlayGuiElement::AddRef();
}

std::int32_t TimeBarElement::Release() {
    return OverlayGuiElement::Release();
}

Ogre::OverlayElement* TimeBarElement::child(const char* suffix) const {
    Ogre::OverlayElement* bar = overlayElement();
    if (!bar->isContainer())
        return nullptr;
    const Ogre::OverlayContainer::ChildMap& children =
        static_cast<Ogre::OverlayContainer*>(bar)->getChildren();
    const auto found = children.find(bar->getName() + suffix);
    return found != children.end() ? found->second : nullptr;
}

float TimeBarElement::getProgress() {
    return progress;
}

void TimeBarElement::setCaption(const std::string& caption) {
    setText(caption);
}

void TimeBarElement::setProgress(float percent) {
    // Callers pass the share unclamped; the bar shows 0 to 100, and nothing for NaN.
    progress = std::isnan(percent) ? 0.0f : std::clamp(percent, 0.0f, 100.0f);
    // The fill is laid out in the bar's units (both in the overlay script's metrics).
    if (Ogre::OverlayElement* fill = child("/Fill"))
        fill->setWidth(overlayElement()->getWidth() * progress / 100.0f);
}

} // namespace corvane
