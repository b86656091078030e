#include "services/capture/VideoSink.h"

#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

namespace corvane {

VideoSink::VideoSink(const VideoFile::Settings& wanted) : settings(wanted) {
    // Two runs writing the same film each write a file of their own until it is whole.
    char text[16];
    std::snprintf(text, sizeof(text), "%08x", static_cast<unsigned>(std::random_device()()));
    tag = text;
}

std::string VideoSink::temporaryName(const std::string& path) const {
    const std::filesystem::path file(path);
    return (file.parent_path() / ("." + file.filename().string() + "." + tag + ".part")).string();
}

bool VideoSink::begin(std::string& error) {
    VideoFile::Settings temporary = settings;
    temporary.path = temporaryName(settings.path);
    if (file.open(temporary, error))
        return true;
    error = settings.path + ": " + error;
    file.abandon();
    std::error_code ignored;
    std::filesystem::remove(temporary.path, ignored);
    return false;
}

bool VideoSink::writeFrame(unsigned, const FilmFrame& frame, std::string& error) {
    if (file.addFrame(frame, error))
        return true;
    error = settings.path + ": " + error;
    return false;
}

bool VideoSink::writeSound(const float* samples, std::size_t frames, std::string& error) {
    if (file.addSound(samples, frames, error))
        return true;
    error = settings.path + ": " + error;
    return false;
}

bool VideoSink::end(bool complete, std::string& error) {
    const std::string temporary = temporaryName(settings.path);
    std::error_code failure;
    if (complete && file.finish(error)) {
        size = std::filesystem::file_size(temporary, failure);
        std::filesystem::rename(temporary, settings.path, failure);
        if (!failure)
            return true;
        error = failure.message();
    }
    if (complete)
        error = settings.path + ": " + error;
    // A file that was not ended does not play: nothing of it is kept.
    file.abandon();
    std::filesystem::remove(temporary, failure);
    return !complete;
}

} // namespace corvane
