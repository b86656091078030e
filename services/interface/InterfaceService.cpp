#include "services/interface/InterfaceService.h"

#include <OgreRenderWindow.h>
#include <Overlay/OgreOverlay.h>
#include <Overlay/OgreOverlayContainer.h>
#include <Overlay/OgreOverlayManager.h>
#include <algorithm>
#include <tinyxml.h>

#include "framework/Identifiers.h"
#include "framework/OverlayElementNames.h"
#include "platform/DebugOutput.h"
#include "services/interface/ElementCatalog.h"
#include "services/interface/OverlayTypesetting.h"
#include "services/interface/TimeBarElement.h"

namespace corvane {

HRESULT InterfaceService::QueryInterface(const UUID& iid, void** out) {
    if (iid == IID_IGuiOverlay || iid == IID_IUnknown)
        *out = static_cast<IGuiOverlay*>(this);
    else if (iid == IID_IActionInput)
        *out = static_cast<IActionInput*>(this);
    else
        return E_FAIL;
    AddRef();
    return S_OK;
}

std::int32_t InterfaceService::AddRef() {
    return ++referenceCount;
}

std::int32_t InterfaceService::Release() {
    return --referenceCount;
}

IGuiElement* InterfaceService::getElement(const std::string& name) {
    if (const auto known = elements.find(name); known != elements.end())
        return known->second.get();
    const ElementCatalog::Kind kind = ElementCatalog::kindOf(name);
    Ogre::OverlayManager* overlays = Ogre::OverlayManager::getSingletonPtr();
    if (kind == ElementCatalog::NONE || overlays == nullptr || !overlays->hasOverlayElement(name))
        return nullptr;
    Ogre::OverlayElement* element = overlays->getOverlayElement(name);
    std::unique_ptr<OverlayGuiElement> made;
    if (kind == ElementCatalog::PROGRESS_BAR)
        made = std::make_unique<TimeBarElement>(element);
    else
        made = std::make_unique<OverlayGuiElement>(element);
    return elements.emplace(name, std::move(made)).first->second.get();
}

void InterfaceService::notifyPaused() {
    paused = true;
}

void InterfaceService::notifyResumed() {
    paused = false;
}

float InterfaceService::getActionValue(const std::string& action) {
    return actions.value(action);
}

PLUGIN_INFO InterfaceService::pluginInfo() {
    return {
        PLUGIN_ID_USER_INTERFACE, {KIND_ID_USER_INTERFACE}, {}, static_cast<IGuiOverlay*>(this)};
}

void InterfaceService::parseEnvironment(const TiXmlElement* environment) {
    if (environment == nullptr)
        return;
    std::map<std::string, bool> rebound;
    for (const TiXmlElement* bind = environment->FirstChildElement("bind"); bind != nullptr;
         bind = bind->NextSiblingElement("bind")) {
        const char* action = bind->Attribute("action");
        const char* key = bind->Attribute("key");
        if (action == nullptr || *action == '\0' || key == nullptr) {
            DebugOutput::line("InterfaceService::parseEnvironment(): a \"bind\" element (row " +
                              std::to_string(bind->Row()) +
                              ") needs an \"action\" and a \"key\"; it is skipped");
            continue;
        }
        if (!rebound[action]) {
            actions.unbind(action);
            rebound[action] = true;
        }
        // An empty key leaves the action without keys.
        if (*key != '\0' && !actions.bind(action, key))
            DebugOutput::line("InterfaceService::parseEnvironment(): " + std::string(action) +
                              " cannot be bound to the unknown key \"" + key + "\"");
    }
    if (const TiXmlElement* statistics = environment->FirstChildElement("statistics")) {
        const char* visible = statistics->Attribute("visible");
        showStatistics = visible == nullptr || std::string(visible) != "false";
    }
    if (const TiXmlElement* entries = environment->FirstChildElement("script"))
        script.parse(entries);
}

bool InterfaceService::start() {
    // A viewer listed before has its window already: the first frame shows the overlays.
    if (window == nullptr)
        attach();
    return true;
}

bool InterfaceService::attach() {
    viewers.bind(IID_IViewerCore);
    for (IViewerCore* viewer : viewers) {
        window = viewer->getRenderWindow();
        if (window != nullptr)
            break;
    }
    Ogre::OverlayManager* overlays = Ogre::OverlayManager::getSingletonPtr();
    if (window == nullptr || overlays == nullptr) {
        // Not yet: a later frame tries again.
        window = nullptr;
        return false;
    }
    if (!events.attach(window))
        DebugOutput::line("InterfaceService: the viewer's window gives no keyboard and mouse; "
                          "only scripted input works");
    for (const char* const* name = ElementCatalog::OVERLAYS; *name != nullptr; ++name) {
        Ogre::Overlay* overlay = overlays->getByName(*name);
        if (overlay == nullptr) {
            DebugOutput::line(std::string("InterfaceService: the overlay \"") + *name +
                              "\" is not defined in the viewer's resources");
            continue;
        }
        OverlayTypesetting::apply(*overlay, static_cast<float>(window->getWidth()),
                                  static_cast<float>(window->getHeight()));
        if (std::string(*name) != "Corvane/Statistics" || showStatistics)
            overlay->show();
    }
    return true;
}

bool InterfaceService::renderFrame(float seconds) {
    actions.beginFrame();
    if (window == nullptr && !attach()) {
        // Scripted time runs from the start, also while the viewer has no window yet.
        for (const InputScript::Entry& entry : script.advance(seconds))
            handle(entry);
        actOnTimeline();
        return true;
    }
    for (const WindowEvent& event : events.poll())
        handle(event);
    for (const InputScript::Entry& entry : script.advance(seconds))
        handle(entry);
    for (const std::string& action : script.heldActions())
        actions.tap(action);
    actOnTimeline();
    updateTimeBar(seconds);
    freeCamera.fly(seconds);
    return true;
}

void InterfaceService::actOnTimeline() {
    const std::vector<std::string> pressed = timelineKeys.pressed(actions);
    if (pressed.empty() && !timeBarFraction && !timeBarSeconds)
        return;
    timelines.bind(IID_IPlaybackTimeline);
    stagings.bind(IID_IPlaybackStaging);
    for (const std::string& action : pressed)
        for (IPlaybackStaging* staging : stagings)
            TimelineKeys::perform(action, *staging);
    for (IPlaybackTimeline* timeline : timelines) {
        for (const std::string& action : pressed)
            TimelineKeys::perform(action, *timeline);
        if (timeBarSeconds)
            timeline->seekTo(*timeBarSeconds);
        else if (timeBarFraction)
            timeline->seekTo(*timeBarFraction * timeline->getLength());
    }
    timeBarFraction.reset();
    timeBarSeconds.reset();
}

void InterfaceService::updateTimeBar(float seconds) {
    TimeBarElement* bar = timeBar();
    if (bar == nullptr)
        return;
    timelines.bind(IID_IPlaybackTimeline);
    stagings.bind(IID_IPlaybackStaging);
    float length = 0.0f;
    for (IPlaybackTimeline* timeline : timelines) {
        length = timeline->getLength();
        // The frames that a single step moves by.
        const float step = std::max(TimelineKeys::STEP_SECONDS, seconds * timeline->getSpeed());
        bar->setReadout(TimelineKeys::readout(timeline->getTime(), length, step));
        break;
    }
    for (IPlaybackStaging* staging : stagings) {
        if (staging->getScriptVersion() != marksVersion || length != marksLength) {
            marksVersion = staging->getScriptVersion();
            marksLength = length;
            std::vector<TimeBarElement::Mark> marks;
            const std::uint32_t count = staging->getMarkerCount();
            marks.reserve(count);
            for (std::uint32_t index = 0; index < count; ++index) {
                TimeBarElement::Mark mark;
                if (!staging->getMarker(index, mark.seconds, mark.kind, mark.label))
                    break;
                mark.fraction =
                    length > 0.0f ? std::clamp(mark.seconds / length, 0.0f, 1.0f) : 0.0f;
                marks.push_back(std::move(mark));
            }
            bar->setMarks(std::move(marks));
        }
        float in = 0.0f;
        float out = 0.0f;
        if (staging->getRange(in, out) && length > 0.0f)
            bar->showRange(in / length, out / length);
        else
            bar->showRange(1.0f, 0.0f);
        break;
    }
}

void InterfaceService::stop() {}

void InterfaceService::handle(const WindowEvent& event) {
    freeCamera.handle(event, actions);
    const float width = window != nullptr ? static_cast<float>(window->getWidth()) : 1.0f;
    const float height = window != nullptr ? static_cast<float>(window->getHeight()) : 1.0f;
    switch (event.kind) {
    case WindowEvent::KEY_DOWN:
        actions.keyDown(event.key);
        break;
    case WindowEvent::KEY_UP:
        actions.keyUp(event.key);
        break;
    case WindowEvent::BUTTON_DOWN:
        actions.keyDown(ActionMap::buttonName(event.button));
        if (event.button == 1)
            pressAt(static_cast<float>(event.x) / width, static_cast<float>(event.y) / height);
        break;
    case WindowEvent::BUTTON_UP:
        actions.keyUp(ActionMap::buttonName(event.button));
        if (event.button == 1)
            release();
        break;
    case WindowEvent::POINTER_MOVED:
        hover(static_cast<float>(event.x) / width, static_cast<float>(event.y) / height);
        break;
    }
}

void InterfaceService::handle(const InputScript::Entry& entry) {
    switch (entry.kind) {
    case InputScript::Entry::ACTION:
        actions.tap(entry.name);
        break;
    case InputScript::Entry::CLICK_AT:
        actions.tap("MOUSE_CLICK");
        pressAt(entry.x, entry.y);
        release();
        break;
    case InputScript::Entry::CLICK_ELEMENT:
    case InputScript::Entry::CLICK_CLOSE_BOX: {
        actions.tap("MOUSE_CLICK");
        auto* element = static_cast<OverlayGuiElement*>(getElement(entry.name));
        if (element == nullptr || !element->isShownOnScreen() || !element->takesClicks()) {
            DebugOutput::line("InterfaceService: the scripted click at " +
                              std::to_string(entry.time) + " s on \"" + entry.name +
                              "\" finds no element shown there");
            break;
        }
        if (entry.kind == InputScript::Entry::CLICK_CLOSE_BOX)
            element->latchCloseClick();
        else
            element->latchClick();
        break;
    }
    }
}

OverlayGuiElement* InterfaceService::elementAt(float x, float y, bool& onCloseBox) {
    onCloseBox = false;
    Ogre::OverlayManager* overlays = Ogre::OverlayManager::getSingletonPtr();
    if (overlays == nullptr)
        return nullptr;
    // The topmost overlay first.
    Ogre::Overlay* best = nullptr;
    Ogre::OverlayElement* hit = nullptr;
    for (const char* const* name = ElementCatalog::OVERLAYS; *name != nullptr; ++name) {
        Ogre::Overlay* overlay = overlays->getByName(*name);
        if (overlay == nullptr || !overlay->isVisible())
            continue;
        Ogre::OverlayElement* found = overlay->findElementAt(x, y);
        if (found != nullptr && (best == nullptr || overlay->getZOrder() > best->getZOrder())) {
            best = overlay;
            hit = found;
        }
    }
    // From the element under the pointer up to the first one the service offers.
    for (Ogre::OverlayElement* e = hit; e != nullptr; e = e->getParent()) {
        const std::string& name = e->getName();
        const std::string closeSuffix = "/Close";
        if (name.size() > closeSuffix.size() &&
            name.compare(name.size() - closeSuffix.size(), closeSuffix.size(), closeSuffix) == 0) {
            const std::string owner = name.substr(0, name.size() - closeSuffix.size());
            if (ElementCatalog::kindOf(owner) == ElementCatalog::WINDOW) {
                onCloseBox = true;
                return static_cast<OverlayGuiElement*>(getElement(owner));
            }
        }
        const ElementCatalog::Kind kind = ElementCatalog::kindOf(name);
        if (kind == ElementCatalog::BUTTON)
            return static_cast<OverlayGuiElement*>(getElement(name));
        if (kind != ElementCatalog::NONE)
            return nullptr;
    }
    return nullptr;
}

void InterfaceService::clickAt(float x, float y) {
    bool onCloseBox = false;
    OverlayGuiElement* element = elementAt(x, y, onCloseBox);
    if (element == nullptr || !element->takesClicks())
        return;
    if (onCloseBox)
        element->latchCloseClick();
    else
        element->latchClick();
}

void InterfaceService::pressAt(float x, float y) {
    clickAt(x, y);
    // The time bar shows progress to the playback's own click handling; a press on it
    // seeks here, and dragging goes on seeking until the button comes up.
    TimeBarElement* bar = timeBar();
    if (bar != nullptr && bar->grabbedAt(x, y)) {
        draggingTimeBar = true;
        // On a keyframe's tick: exactly its time.
        const std::vector<const TimeBarElement::Mark*> marks = bar->marksAt(x, y);
        if (!marks.empty())
            timeBarSeconds = marks.front()->seconds;
        else
            timeBarFraction = bar->fractionAt(x);
        bar->showTip("", x);
    }
}

void InterfaceService::release() {
    draggingTimeBar = false;
}

TimeBarElement* InterfaceService::timeBar() {
    return dynamic_cast<TimeBarElement*>(getElement(OverlayElementNames::TIME_BAR));
}

void InterfaceService::hover(float x, float y) {
    bool onCloseBox = false;
    OverlayGuiElement* element = elementAt(x, y, onCloseBox);
    if (onCloseBox)
        element = nullptr;
    TimeBarElement* bar = timeBar();
    if (bar != nullptr && draggingTimeBar)
        timeBarFraction = bar->fractionAt(x);
    // The bar lights up as something to take hold of.
    if (element == nullptr && bar != nullptr && (draggingTimeBar || bar->grabbedAt(x, y)))
        element = bar;
    if (bar != nullptr) {
        const std::vector<const TimeBarElement::Mark*> marks =
            draggingTimeBar ? std::vector<const TimeBarElement::Mark*>() : bar->marksAt(x, y);
        std::string label = marks.empty() ? std::string() : marks.front()->label;
        if (marks.size() > 1)
            label += "  (+" + std::to_string(marks.size() - 1) + " more)";
        bar->showTip(label, x);
    }
    if (element == hovered)
        return;
    if (hovered != nullptr)
        hovered->setHighlighted(false);
    if (element != nullptr)
        element->setHighlighted(true);
    hovered = element;
}

} // namespace corvane
