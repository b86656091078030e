#pragma once

#include <string>

#include "services/capture/FilmSink.h"
#include "services/capture/VideoFile.h"

namespace corvane {

// A film as one video file. It is written under a hidden temporary name beside the file
// (".NAME.TAG.part") and takes its name once it is ended, so that the name only ever holds
// a whole film: one cut short by a stop is ended there, and plays.
class VideoSink final : public FilmSink {
public:
    explicit VideoSink(const VideoFile::Settings& settings);

    unsigned workers() const override { return 1; }
    bool begin(std::string& error) override;
    bool writeFrame(unsigned worker, const FilmFrame& frame, std::string& error) override;
    bool writeSound(const float* samples, std::size_t frames, std::string& error) override;
    bool end(bool complete, std::string& error) override;
    std::uint64_t bytes() const override { return size; }
    std::string name() const override { return settings.path; }

private:
    VideoFile::Settings settings;
    VideoFile file;
    // The name the file is written under until it is ended.
    std::string temporary;
    std::uint64_t size = 0;
};

} // namespace corvane
