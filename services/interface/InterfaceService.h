#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "framework/IActionInput.h"
#include "framework/IGuiOverlay.h"
#include "framework/IPlaybackStaging.h"
#include "framework/IPlaybackTimeline.h"
#include "framework/IViewerCore.h"
#include "framework/PluginInfo.h"
#include "framework/ProviderList.h"
#include "platform/WindowEvents.h"
#include "services/interface/ActionMap.h"
#include "services/interface/FreeCamera.h"
#include "services/interface/InputScript.h"
#include "services/interface/OverlayGuiElement.h"
#include "services/interface/TimelineKeys.h"

class TiXmlElement;

namespace corvane {

class TimeBarElement;

// The user-interface plug-in's one object: the on-screen overlay (texts, buttons,
// windows, the time bar) and the input actions, both over the viewer's window, which it
// finds through the host. List it after the viewer and before the plug-ins that read
// actions, so that they see this frame's input. The timeline's actions (TimelineKeys) and a
// press or drag on the time bar go to the playback's IPlaybackTimeline, the staging actions
// to its IPlaybackStaging; the time bar shows the playback's time, its keyframes as ticks
// (a click on one goes there) and its range. The free camera (FreeCamera) flies the
// viewer's camera while the playback leaves it free. Everything shows from the first frame:
// the service takes the viewer's window at its start when the viewer has started before.
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
    // The first button going down or up at a place, as fractions of the window: a click,
    // and on the time bar the start or end of a drag.
    void pressAt(float x, float y);
    void release();

private:
    bool attach();
    void handle(const WindowEvent& event);
    void handle(const InputScript::Entry& entry);
    OverlayGuiElement* elementAt(float x, float y, bool& onCloseBox);
    // The pointer moved there: lights up what it is over, and drags a held time bar.
    void hover(float x, float y);
    TimeBarElement* timeBar();
    // This frame's timeline actions and the time bar's seek, to the playback.
    void actOnTimeline();
    // The playback's time, keyframes and range on the time bar; `seconds` of the frame.
    void updateTimeBar(float seconds);

    ProviderList<IViewerCore> viewers;
    Ogre::RenderWindow* window = nullptr;
    WindowEvents events;
    ActionMap actions;
    InputScript script;
    std::map<std::string, std::unique_ptr<OverlayGuiElement>> elements;
    OverlayGuiElement* hovered = nullptr;
    ProviderList<IPlaybackTimeline> timelines;
    ProviderList<IPlaybackStaging> stagings;
    // The script version and length whose ticks the bar shows.
    std::uint32_t marksVersion = 0;
    float marksLength = -1.0f;
    TimelineKeys timelineKeys;
    FreeCamera freeCamera;
    bool draggingTimeBar = false;
    std::optional<float> timeBarFraction; // where the bar was pressed or dragged to
    std::optional<float> timeBarSeconds;  // the keyframe whose tick was pressed
    bool showStatistics = true;
    bool paused = false;
    std::int32_t referenceCount = 0;
};

} // namespace corvane
