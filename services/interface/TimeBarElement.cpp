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
    const float width = overlayElement()->getWidth();
    if (Ogre::OverlayElement* fill = child("/Fill"))
        fill->setWidth(width * progress / 100.0f);
    if (Ogre::OverlayElement* handle = child("/Handle"))
        handle->setLeft(width * progress / 100.0f - handle->getWidth() / 2.0f);
}

namespace {

// How far above and below the bar a press still takes it, in fractions of the window: the
// bar itself is thin.
constexpr float GRAB_MARGIN = 0.015f;

} // namespace

bool TimeBarElement::grabbedAt(float x, float y) const {
    if (!isShownOnScreen())
        return false;
    // The engine's own relative measures, whatever units the overlay script uses.
    Ogre::OverlayElement* bar = overlayElement();
    const float left = bar->_getDerivedLeft();
    const float top = bar->_getDerivedTop();
    return x >= left && x <= left + bar->_getWidth() && y >= top - GRAB_MARGIN &&
           y <= top + bar->_getHeight() + GRAB_MARGIN;
}

float TimeBarElement::fractionAt(float x) const {
    Ogre::OverlayElement* bar = overlayElement();
    const float width = bar->_getWidth();
    return width > 0.0f ? std::clamp((x - bar->_getDerivedLeft()) / width, 0.0f, 1.0f) : 0.0f;
}

} // namespace corvane
