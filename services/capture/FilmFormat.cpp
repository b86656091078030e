#include "services/capture/FilmFormat.h"

namespace corvane {

namespace {

const struct {
    FilmFormat format;
    const char* name;
} NAMES[] = {
    {FilmFormat::PNG, "png"},
    {FilmFormat::MP4, "mp4"},
    {FilmFormat::WEBM, "webm"},
    {FilmFormat::MOV, "mov"},
};

} // namespace

const char* filmFormatName(FilmFormat format) {
    for (const auto& entry : NAMES)
        if (entry.format == format)
            return entry.name;
    return "";
}

bool filmFormatFromName(const std::string& name, FilmFormat& format) {
    for (const auto& entry : NAMES)
        if (name == entry.name) {
            format = entry.format;
            return true;
        }
    return false;
}

} // namespace corvane
