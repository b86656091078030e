#include "services/capture/VideoSink.h"

#include <filesystem>
#include <system_error>

#include "platform/OutputFile.h"

namespace corvane {

VideoSink::VideoSink(const VideoFile::Settings& wanted)
    : settings(wanted), temporary(OutputFile::temporaryName(wanted.path)) {}

bool VideoSink::begin(std::string& error) {
    VideoFile::Settings hidden = settings;
    hidden.path = temporary;
    if (file.open(hidden, error))
        return true;
    error = settings.path + ": " + error;
    file.abandon();
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
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
