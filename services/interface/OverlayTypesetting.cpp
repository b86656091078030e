#include "services/interface/OverlayTypesetting.h"

#include <Overlay/OgreFont.h>
#include <Overlay/OgreOverlay.h>
#include <Overlay/OgreOverlayContainer.h>
#include <Overlay/OgreTextAreaOverlayElement.h>

namespace corvane {

namespace {

void typeset(Ogre::OverlayElement& element, float heightToWidth) {
    if (auto* text = dynamic_cast<Ogre::TextAreaOverlayElement*>(&element)) {
        // Relative widths are shares of the window's width, heights of its height.
        const float factor = text->getMetricsMode() == Ogre::GMM_RELATIVE ? heightToWidth : 1.0f;
        text->setSpaceWidth(text->getCharHeight() * OverlayTypesetting::SPACE_EM * factor);
        // A text set before its font was loaded would be laid out as nothing and stay so.
        if (const Ogre::FontPtr& font = text->getFont(); font && !font->isLoaded()) {
            font->load();
            text->setCaption(text->getCaption());
        }
    }
    if (element.isContainer())
        for (const auto& [name, child] :
             static_cast<Ogre::OverlayContainer&>(element).getChildren())
            typeset(*child, heightToWidth);
}

} // namespace

void OverlayTypesetting::apply(Ogre::Overlay& overlay, float viewportWidth, float viewportHeight) {
    const float heightToWidth = viewportWidth > 0.0f ? viewportHeight / viewportWidth : 1.0f;
    for (Ogre::OverlayContainer* element : overlay.get2DElements())
        typeset(*element, heightToWidth);
}

} // namespace corvane
