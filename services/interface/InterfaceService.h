#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "framework/IActionInput.h"
#include "framework/IGuiOverlay.h"
#include "framework/IViewerCore.h"
#include "framework/PluginInfo.h"
#include "framework/ProviderList.h"
#include "platform/WindowEvents.h"
#include "services/interface/ActionMap.h"
#include "services/interface/InputScript.h"
#include "services/interface/OverlayGuiElement.h"

class TiXmlElement;

namespace corvane {

// The user-interface plug-in's one object: the on-screen overlay (texts, buttons,
// windows, the time bar) and the input actions, both over the viewer's window, which it
// finds through the host. List it after the viewer and before the plug-ins that read
// actions, so that they see this frame's input.
//
//   <environment>
//     <bind action="SHOW_MENU" key="Escape"/>   the first binding of an action replaces its
//                                               default keys; "Button1".."Button5" are mouse
//     <statistics visible="false"/>             hides the frame statistics
//     <script> ... </script>                    scripted input (see InputScript)
//   </environment>
class InterfaceService final : public IGuiOverlay, public IActionInput {
public:
    HRESULT QueryInterface(const UUID& iid, void** out) override;
    std::int32_t AddRef() override;
    std::int32_t Release() override;

    // IGuiOverlay: null for a name the service does not offer, and before the viewer's
    // overlays exist.
    IGuiElement* getElement(const std::string& name) override;
    void notifyPaused() override;
    void notifyResumed() override;

    // IActionInput.
    float getActionValue(const std::string& action) override;

    PLUGIN_INFO pluginInfo();
    void parseEnvironment(const TiXmlElement* environment);
    bool start();
    // Takes the window's input and the script's entries due in this frame.
    bool renderFrame(float seconds);
    void stop();

    bool isPaused() const { return paused; }
    bool isAttached() const { return events.isAttached(); }
    // A click at a place given as fractions of the window, as the mouse would make it.
    void clickAt(float x, float y);

private:
    bool attach();
    void handle(const WindowEvent& event);
    void handle(const InputScript::Entry& entry);
    OverlayGuiElement* elementAt(float x, float y, bool& onCloseBox);
    void hover(float x, float y);

    ProviderList<IViewerCore> viewers;
    Ogre::RenderWindow* window = nullptr;
    WindowEvents events;
    ActionMap actions;
    InputScript script;
    std::map<std::string, std::unique_ptr<OverlayGuiElement>> elements;
    OverlayGuiElement* hovered = nullptr;
    bool showStatistics = true;
    bool paused = false;
    std::int32_t referenceCount = 0;
};

} // namespace corvane
