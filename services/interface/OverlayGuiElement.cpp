#include "services/interface/OverlayGuiElement.h"

#include <OgreMaterialManager.h>
#include <Overlay/OgreOverlayContainer.h>
#include <Overlay/OgreOverlayElement.h>
#include <Overlay/OgreOverlayManager.h>
#include <Overlay/OgreTextAreaOverlayElement.h>

#include "framework/Utf8Text.h"

namespace corvane {

OverlayGuiElement::OverlayGuiElement(Ogre::OverlayElement* element) : element(element) {}

OverlayGuiElement::~OverlayGuiElement() = default;

HRESULT OverlayGuiElement::QueryInterface(const UUID&, void**) {
    return E_FAIL;
}

std::int32_t OverlayGuiElement::AddRef() {
    return ++referenceCount;
}

std::int32_t OverlayGuiElement::Release() {
    return --referenceCount;
}

Ogre::OverlayElement* OverlayGuiElement::textElement() const {
    if (!element->isContainer())
        return element;
    Ogre::OverlayContainer* container = static_cast<Ogre::OverlayContainer*>(element);
    const std::string label = element->getName() + "/Label";
    const Ogre::OverlayContainer::ChildMap& children = container->getChildren();
    const auto child = children.find(label);
    return child != children.end() ? child->second : nullptr;
}

void OverlayGuiElement::setText(const std::string& text) {
    Ogre::OverlayElement* target = textElement();
    if (target == nullptr)
        return;
    // Scripts give UTF-8, or the bytes of another encoding, on which the engine's own reading
    // of UTF-8 throws. A character the font lacks would be a gap: it shows as the font's
    // replacement glyph.
    Ogre::FontPtr font;
    if (target->getTypeName() == "TextArea")
        font = static_cast<Ogre::TextAreaOverlayElement*>(target)->getFont();
    // The engine fills in a font's glyphs when it first draws it.
    if (font)
        font->load();
    const auto shown = [&font](char32_t character) {
        const Ogre::Font::UVRect& uv = font->getGlyphTexCoords(character);
        return uv.left != 0.0f || uv.right != 0.0f || uv.top != 0.0f || uv.bottom != 0.0f;
    };
    Ogre::DisplayString caption;
    for (char32_t character : Utf8Text::decode(text))
        caption.push_back(static_cast<Ogre::UTFString::unicode_char>(
            !font || character == U'\n' || character == U' ' || shown(character)
                ? character
                : Utf8Text::REPLACEMENT));
    target->setCaption(caption);
}

std::string OverlayGuiElement::getText() {
    const Ogre::OverlayElement* target = textElement();
    return target != nullptr ? target->getCaption().asUTF8() : std::string();
}

bool OverlayGuiElement::wasClicked() {
    const bool result = clicked;
    clicked = false;
    return result;
}

bool OverlayGuiElement::wasCloseClicked() {
    const bool result = closeClicked;
    closeClicked = false;
    return result;
}

void OverlayGuiElement::show() {
    element->show();
}

void OverlayGuiElement::hide() {
    element->hide();
}

bool OverlayGuiElement::isVisible() {
    return element->isVisible();
}

bool OverlayGuiElement::isShownOnScreen() const {
    for (Ogre::OverlayElement* e = element; e != nullptr; e = e->getParent())
        if (!e->isVisible())
            return false;
    return true;
}

namespace {

// Fractions of the window in the element's own units.
Ogre::Vector2 inElementUnits(const Ogre::OverlayElement* element, float x, float y) {
    if (element->getMetricsMode() == Ogre::GMM_RELATIVE)
        return {x, y};
    const Ogre::OverlayManager& overlays = Ogre::OverlayManager::getSingleton();
    return {x * static_cast<float>(overlays.getViewportWidth()),
            y * static_cast<float>(overlays.getViewportHeight())};
}

} // namespace

void OverlayGuiElement::setPosition(float left, float top) {
    const Ogre::Vector2 position = inElementUnits(element, left, top);
    element->setPosition(position.x, position.y);
}

void OverlayGuiElement::setSize(float width, float height) {
    const Ogre::Vector2 size = inElementUnits(element, width, height);
    element->setDimensions(size.x, size.y);
}

void OverlayGuiElement::setHighlighted(bool highlighted) {
    if (plainMaterial.empty())
        plainMaterial = element->getMaterialName();
    const std::string wanted = highlighted ? plainMaterial + "Hover" : plainMaterial;
    if (wanted.empty() || wanted == element->getMaterialName())
        return;
    const std::string& group = Ogre::ResourceGroupManager::AUTODETECT_RESOURCE_GROUP_NAME;
    if (Ogre::MaterialManager::getSingleton().getByName(wanted, group))
        element->setMaterialName(wanted, group);
}

void OverlayGuiElement::setInteractive(std::uint32_t flag) {
    interactive = flag != 0;
}

void OverlayGuiElement::latchClick() {
    clicked = true;
}

void OverlayGuiElement::latchCloseClick() {
    closeClicked = true;
}

} // namespace corvane
