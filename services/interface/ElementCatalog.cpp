#include "services/interface/ElementCatalog.h"

#include <map>

#include "framework/OverlayElementNames.h"

namespace corvane {

const char* const ElementCatalog::OVERLAYS[] = {"Corvane/Statistics", "ZORV/Hud", "ZORV/Windows",
                                                nullptr};

ElementCatalog::Kind ElementCatalog::kindOf(const std::string& name) {
    namespace names = OverlayElementNames;
    static const std::map<std::string, Kind> kinds = {
        {names::CURRENT_FPS, TEXT},      {names::AVERAGE_FPS, TEXT},
        {names::WORST_FPS, TEXT},        {names::BEST_FPS, TEXT},
        {names::TRIANGLE_COUNT, TEXT},   {names::DEBUG_TEXT, TEXT},
        {names::ESCAPE_MENU, WINDOW},    {names::RESUME, BUTTON},
        {names::ABOUT_BUTTON, BUTTON},   {names::LOOP_ON, BUTTON},
        {names::LOOP_OFF, BUTTON},       {names::RESTART, BUTTON},
        {names::EXIT_BUTTON, BUTTON},    {names::ABOUT, WINDOW},
        {names::OPTIONS, WINDOW},        {names::CONFIRM_EXIT, WINDOW},
        {names::CONFIRM_OK, BUTTON},     {names::CONFIRM_CANCEL, BUTTON},
        {names::CAMERA_AUTO, BUTTON},    {names::CAMERA_MANUAL, BUTTON},
        {names::TIME_BAR, PROGRESS_BAR}, {names::STATUS_TEXT, TEXT},
        {names::STATUS_CAPTION, TEXT},   {names::STATUS_NOTE, TEXT},
    };
    const auto kind = kinds.find(name);
    return kind != kinds.end() ? kind->second : NONE;
}

} // namespace corvane
