#include "services/interface/TimeBarElement.h"

#include <Overlay/OgreOverlay.h>
#include <Overlay/OgreOverlayContainer.h>
#include <Overlay/OgreOverlayManager.h>
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
// A tick, in the bar's units: it stands on the bar, above the fill.
constexpr float TICK_WIDTH = 0.003f;
constexpr float TICK_HEIGHT = 0.012f;
// Ticks of one kind closer than this (a fraction of the bar) are drawn as one.
constexpr float TICK_MERGE = 0.002f;
// How far from a tick, in fractions of the window, the pointer still names it.
constexpr float TICK_REACH = 0.005f;
// The label's width per character, and its margins, in fractions of the window.
constexpr float TIP_CHARACTER_WIDTH = 0.008f;
constexpr float TIP_MARGIN = 0.012f;

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

const char* const TimeBarElement::MARK_MATERIALS[4] = {"ZORV/MarkCamera", "ZORV/MarkEntity",
                                                       "ZORV/MarkSound", "ZORV/MarkText"};

Ogre::OverlayElement* TimeBarElement::tick(std::size_t index) {
    while (ticks.size() <= index) {
        Ogre::OverlayManager& overlays = Ogre::OverlayManager::getSingleton();
        // Named to sort before the fill: children are drawn in the order of their names.
        Ogre::OverlayElement* made = overlays.createOverlayElement(
            "Panel", overlayElement()->getName() + "/Cue/" + std::to_string(ticks.size()));
        made->setMetricsMode(overlayElement()->getMetricsMode());
        static_cast<Ogre::OverlayContainer*>(overlayElement())->addChild(made);
        ticks.push_back(made);
    }
    return ticks[index];
}

void TimeBarElement::setMarks(std::vector<Mark> made) {
    marks = std::move(made);
    if (!overlayElement()->isContainer())
        return;
    const float width = overlayElement()->getWidth();
    std::size_t used = 0;
    float lastFraction[4] = {-1.0f, -1.0f, -1.0f, -1.0f};
    for (const Mark& mark : marks) {
        const std::uint32_t kind = mark.kind < 4 ? mark.kind : 1;
        if (lastFraction[kind] >= 0.0f && mark.fraction - lastFraction[kind] < TICK_MERGE)
            continue;
        lastFraction[kind] = mark.fraction;
        Ogre::OverlayElement* panel = tick(used++);
        panel->setMaterialName(MARK_MATERIALS[kind]);
        panel->setDimensions(TICK_WIDTH, TICK_HEIGHT);
        panel->setPosition(width * mark.fraction - TICK_WIDTH / 2.0f, -TICK_HEIGHT);
        panel->show();
    }
    for (std::size_t unused = used; unused < ticks.size(); ++unused)
        ticks[unused]->hide();
    // Children added later get their place in the drawing order only from their overlay.
    Ogre::OverlayElement* top = overlayElement();
    while (top->getParent() != nullptr)
        top = top->getParent();
    auto overlays = Ogre::OverlayManager::getSingleton().getOverlayIterator();
    while (overlays.hasMoreElements()) {
        Ogre::Overlay* overlay = overlays.getNext();
        for (Ogre::OverlayContainer* element : overlay->get2DElements())
            if (element == top)
                overlay->setZOrder(overlay->getZOrder());
    }
}

std::vector<const TimeBarElement::Mark*> TimeBarElement::marksAt(float x, float y) const {
    std::vector<const Mark*> near;
    if (!grabbedAt(x, y))
        return near;
    Ogre::OverlayElement* bar = overlayElement();
    const float left = bar->_getDerivedLeft();
    const float width = bar->_getWidth();
    for (const Mark& mark : marks)
        if (std::fabs(left + mark.fraction * width - x) <= TICK_REACH)
            near.push_back(&mark);
    std::stable_sort(near.begin(), near.end(), [&](const Mark* a, const Mark* b) {
        return std::fabs(left + a->fraction * width - x) <
               std::fabs(left + b->fraction * width - x);
    });
    return near;
}

void TimeBarElement::showTip(const std::string& text, float x) {
    Ogre::OverlayElement* tip = child("/Tip");
    if (tip == nullptr)
        return;
    if (text.empty()) {
        tip->hide();
        return;
    }
    Ogre::OverlayElement* bar = overlayElement();
    // In fractions of the window, then in the bar's units (both relative here).
    const float tipWidth = static_cast<float>(text.size()) * TIP_CHARACTER_WIDTH + TIP_MARGIN;
    const float barWidth = bar->_getWidth();
    // Inside the window where it fits, else from its left edge.
    const float lowest = -bar->_getDerivedLeft();
    const float highest = std::max(lowest, 1.0f - bar->_getDerivedLeft() - tipWidth);
    const float left = std::clamp(x - bar->_getDerivedLeft() - tipWidth / 2.0f, lowest, highest);
    const float scale = barWidth > 0.0f ? bar->getWidth() / barWidth : 1.0f;
    tip->setLeft(left * scale);
    tip->setWidth(tipWidth * scale);
    if (tip->isContainer()) {
        const auto& children = static_cast<Ogre::OverlayContainer*>(tip)->getChildren();
        if (const auto label = children.find(tip->getName() + "/Label"); label != children.end())
            label->second->setCaption(Ogre::DisplayString(text));
    }
    tip->show();
}

void TimeBarElement::showRange(float in, float out) {
    // Shown on every frame, laid out again only when it changes.
    if (shownRange == std::pair(in, out))
        return;
    shownRange = std::pair(in, out);
    Ogre::OverlayElement* range = child("/Range");
    if (range == nullptr)
        return;
    if (in > out) {
        range->hide();
        return;
    }
    const float width = overlayElement()->getWidth();
    range->setLeft(width * std::clamp(in, 0.0f, 1.0f));
    range->setWidth(width * (std::clamp(out, 0.0f, 1.0f) - std::clamp(in, 0.0f, 1.0f)));
    range->show();
}

void TimeBarElement::setReadout(const std::string& text) {
    // Laid out again only when it changes.
    if (text == readout)
        return;
    readout = text;
    if (Ogre::OverlayElement* element = child("/Readout"))
        element->setCaption(Ogre::DisplayString(text));
}

} // namespace corvane
