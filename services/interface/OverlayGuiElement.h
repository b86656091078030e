#pragma once

#include <cstdint>
#include <string>

#include "framework/IGuiElement.h"

namespace Ogre {
class OverlayElement;
}

namespace corvane {

// An element of the overlay service over one engine overlay element. Clicks are latched
// by the service's hit test and reported once by the polls.
class OverlayGuiElement : public IGuiElement {
public:
    explicit OverlayGuiElement(Ogre::OverlayElement* element);

    HRESULT QueryInterface(const UUID& iid, void** out) override;
    std::int32_t AddRef() override;
    std::int32_t Release() override;
    // A text element's own text, or the text of a button's or window's "<name>/Label".
    void setText(const std::string& text) override;
    std::string getText() override;
    bool wasClicked() override;
    void show() override;
    void hide() override;
    bool wasCloseClicked() override;
    bool isVisible() override;
    void setPosition(float left, float top) override;
    void setSize(float width, float height) override;
    void setInteractive(std::uint32_t interactive) override;

    virtual ~OverlayGuiElement();

    // The service's side.
    void latchClick();
    void latchCloseClick();
    bool takesClicks() const { return interactive; }
    // Shown, with every container above it shown.
    bool isShownOnScreen() const;
    // Draws the element with its material's "Hover" twin while the pointer is over it,
    // when the overlay scripts define one.
    void setHighlighted(bool highlighted);
    Ogre::OverlayElement* overlayElement() const { return element; }

private:
    Ogre::OverlayElement* textElement() const;

    Ogre::OverlayElement* element;
    bool clicked = false;
    bool closeClicked = false;
    bool interactive = true;
    std::string plainMaterial;
    std::int32_t referenceCount = 0;
};

} // namespace corvane
