#include "services/interface/ElementCatalog.h"

#include <map>

namespace corvane {

const char* const ElementCatalog::OVERLAYS[] = {"Corvane/Statistics", "ZORV/Hud", "ZORV/Windows",
                                                nullptr};

ElementCatalog::Kind ElementCatalog::kindOf(const std::string& name) {
    static const std::map<std::string, Kind> kinds = {
        {"OPCurrentFPS", TEXT},
        {"OPAverageFPS", TEXT},
        {"OPWorstFPS", TEXT},
        {"OPBestFPS", TEXT},
        {"OPTriCount", TEXT},
        {"OPDebugMsg", TEXT},
        {"ZORV/EscapeMenu", WINDOW},
        {"ZORV/EscapeMenu/Resume", BUTTON},
        {"ZORV/EscapeMenu/About", BUTTON},
        {"ZORV/EscapeMenu/LoopOn", BUTTON},
        {"ZORV/EscapeMenu/LoopOff", BUTTON},
        {"ZORV/EscapeMenu/Restart", BUTTON},
        {"ZORV/EscapeMenu/Exit", BUTTON},
        {"ZORV/About", WINDOW},
        {"ZORV/Options", WINDOW},
        {"ZORV/ConfirmExit", WINDOW},
        {"ZORV/ConfirmExit/OK", BUTTON},
        {"ZORV/ConfirmExit/Cancel", BUTTON},
        {"ZORV/Panel/CameraAuto", BUTTON},
        {"ZORV/Panel/CameraManual", BUTTON},
        {"ZORV/Timebar", PROGRESS_BAR},
        {"ZORV/StatusText", TEXT},
        {"ZORV/StatusText/Static1", TEXT},
    };
    const auto kind = kinds.find(name);
    return kind != kinds.end() ? kind->second : NONE;
}

} // namespace corvane
