#pragma once

#include <string>

namespace corvane {

// What a film is written as: numbered PNG files in a folder, or one video file with its
// sound track: H.264 and AAC in MP4, VP9 and Opus in WebM, ProRes 422 and 16-bit PCM in
// QuickTime.
enum class FilmFormat { PNG, MP4, WEBM, MOV };

// The format's name as the capture's environment writes it ("png", "mp4", "webm", "mov").
const char* filmFormatName(FilmFormat format);
// False, leaving `format`, for a name that is none of those.
bool filmFormatFromName(const std::string& name, FilmFormat& format);

} // namespace corvane
