#pragma once

namespace corvane {

// The names of the overlay elements that plug-ins look up in the overlay service: the one
// place that spells them, for the viewer's statistics, the playback's menus and status
// line, and the user interface that offers them.
namespace OverlayElementNames {

// The viewer's frame statistics.
inline constexpr const char* CURRENT_FPS = "OPCurrentFPS";
inline constexpr const char* AVERAGE_FPS = "OPAverageFPS";
inline constexpr const char* WORST_FPS = "OPWorstFPS";
inline constexpr const char* BEST_FPS = "OPBestFPS";
inline constexpr const char* TRIANGLE_COUNT = "OPTriCount";
inline constexpr const char* DEBUG_TEXT = "OPDebugMsg";

// The escape menu and its buttons.
inline constexpr const char* ESCAPE_MENU = "ZORV/EscapeMenu";
inline constexpr const char* RESUME = "ZORV/EscapeMenu/Resume";
inline constexpr const char* ABOUT_BUTTON = "ZORV/EscapeMenu/About";
inline constexpr const char* LOOP_ON = "ZORV/EscapeMenu/LoopOn";
inline constexpr const char* LOOP_OFF = "ZORV/EscapeMenu/LoopOff";
inline constexpr const char* RESTART = "ZORV/EscapeMenu/Restart";
inline constexpr const char* EXIT_BUTTON = "ZORV/EscapeMenu/Exit";

// The windows.
inline constexpr const char* ABOUT = "ZORV/About";
inline constexpr const char* OPTIONS = "ZORV/Options";
inline constexpr const char* CONFIRM_EXIT = "ZORV/ConfirmExit";
inline constexpr const char* CONFIRM_OK = "ZORV/ConfirmExit/OK";
inline constexpr const char* CONFIRM_CANCEL = "ZORV/ConfirmExit/Cancel";

// The camera panel: each mode shows the button that switches to the other.
inline constexpr const char* CAMERA_AUTO = "ZORV/Panel/CameraAuto";
inline constexpr const char* CAMERA_MANUAL = "ZORV/Panel/CameraManual";

// The status line, the keyframes' texts, and the playback's own notes.
inline constexpr const char* STATUS_TEXT = "ZORV/StatusText";
inline constexpr const char* STATUS_CAPTION = "ZORV/StatusText/Static1";
inline constexpr const char* STATUS_NOTE = "ZORV/StatusText/Note";

// The time bar (IGuiProgressBar), with the user interface's own parts: the time and the
// script's length beside it, the keyframes' ticks with the label of the one pointed at,
// and the range that plays.
inline constexpr const char* TIME_BAR = "ZORV/Timebar";
inline constexpr const char* TIME_READOUT = "ZORV/Timebar/Readout";
inline constexpr const char* TIME_TIP = "ZORV/Timebar/Tip";
inline constexpr const char* TIME_RANGE = "ZORV/Timebar/Range";

} // namespace OverlayElementNames

} // namespace corvane
