#include "host/FrameRange.h"

#include <cstdio>

#include "host/CommandLine.h"

namespace corvane {

std::string FrameRange::label() const {
    char text[48];
    std::snprintf(text, sizeof(text), "%06llu-%06llu", static_cast<unsigned long long>(first),
                  static_cast<unsigned long long>(last));
    return text;
}

bool FrameRange::parse(const std::string& text, FrameRange& out) {
    const std::size_t dash = text.find('-');
    FrameRange range;
    if (dash == std::string::npos || !CommandLine::readCount(text.substr(0, dash), range.first) ||
        !CommandLine::readCount(text.substr(dash + 1), range.last) || range.last < range.first)
        return false;
    out = range;
    return true;
}

std::vector<FrameRange> FrameRange::split(std::uint64_t first, std::uint64_t past,
                                          std::uint64_t count, std::uint64_t group) {
    const std::uint64_t frames = past - first;
    std::vector<std::uint64_t> starts;
    for (std::uint64_t i = 0; i < count; ++i)
        starts.push_back(first + (frames * i + count / 2) / count);
    if (group > 1) {
        std::vector<std::uint64_t> aligned{first};
        for (std::uint64_t i = 1; i < count; ++i)
            aligned.push_back((starts[i] + group / 2) / group * group);
        bool usable = true;
        for (std::uint64_t i = 1; i < count; ++i)
            usable = usable && aligned[i] > aligned[i - 1] && aligned[i] < past;
        if (usable)
            starts = aligned;
    }
    std::vector<FrameRange> ranges;
    for (std::uint64_t i = 0; i < count; ++i)
        ranges.push_back({starts[i], (i + 1 < count ? starts[i + 1] : past) - 1});
    return ranges;
}

} // namespace corvane
