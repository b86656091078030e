#include "services/capture/RenderProgress.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/DebugOutput.h"

namespace corvane {

namespace {

// Seconds between two lines, and between two redrawings of the bar.
constexpr double LINE_INTERVAL = 1.0;
constexpr double BAR_INTERVAL = 0.1;

double rate(std::uint64_t done, double seconds) {
    return seconds > 0.0 ? static_cast<double>(done) / seconds : 0.0;
}

// Whole seconds left at the rate so far; negative when there is no rate yet.
long long secondsLeft(std::uint64_t done, std::uint64_t total, double seconds) {
    const double perSecond = rate(done, seconds);
    if (perSecond <= 0.0)
        return -1;
    return static_cast<long long>(
        std::ceil(static_cast<double>(total - std::min(done, total)) / perSecond));
}

} // namespace

RenderProgress::RenderProgress(std::uint64_t total, bool terminal, int columns)
    : total(total), terminal(terminal), columns(columns) {}

std::string RenderProgress::line(std::uint64_t done, std::uint64_t total, double seconds) {
    char text[128];
    const long long left = secondsLeft(done, total, seconds);
    std::snprintf(text, sizeof(text), "frame %llu/%llu fps %.1f eta %s",
                  static_cast<unsigned long long>(done), static_cast<unsigned long long>(total),
                  rate(done, seconds), left < 0 ? "-" : (std::to_string(left) + "s").c_str());
    return text;
}

std::string RenderProgress::bar(std::uint64_t done, std::uint64_t total, double seconds,
                                int width) {
    char figures[128];
    const long long left = secondsLeft(done, total, seconds);
    std::snprintf(figures, sizeof(figures), " %llu/%llu frames  %.1f fps  %s left",
                  static_cast<unsigned long long>(done), static_cast<unsigned long long>(total),
                  rate(done, seconds),
                  left < 0 ? "-:--"
                           : (std::to_string(left / 60) + ":" + (left % 60 < 10 ? "0" : "") +
                              std::to_string(left % 60))
                                 .c_str());
    const std::string text = figures;
    const int room = width - static_cast<int>(text.size()) - 3;
    if (room < 10)
        return text.substr(1);
    const int filled =
        total > 0 ? static_cast<int>(static_cast<double>(room) * static_cast<double>(done) /
                                     static_cast<double>(total))
                  : room;
    return "[" + std::string(static_cast<std::size_t>(std::min(filled, room)), '#') +
           std::string(static_cast<std::size_t>(room - std::min(filled, room)), '.') + "]" + text;
}

void RenderProgress::update(std::uint64_t done, double seconds) {
    const bool last = done >= total;
    if (terminal) {
        if (!last && lastShown >= 0.0 && seconds - lastShown < BAR_INTERVAL)
            return;
        // The bar's line is drawn over; what is left of a longer one is cleared.
        DebugOutput::write("\r" + bar(done, total, seconds, columns - 1) + "\x1b[K");
        barShown = true;
    } else {
        if (!last && lastShown >= 0.0 && seconds - lastShown < LINE_INTERVAL)
            return;
        if (!last && lastShown < 0.0 && seconds < LINE_INTERVAL)
            return;
        DebugOutput::line(line(done, total, seconds));
    }
    lastShown = seconds;
}

void RenderProgress::finish() {
    if (barShown)
        DebugOutput::write("\n");
    barShown = false;
}

} // namespace corvane
