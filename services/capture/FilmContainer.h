#pragma once

#include <cstdint>
#include <string>

struct AVFormatContext;

namespace corvane {

// The container of a film's video file, as the render and the join both write it: marked
// with the number of its first frame in the film (FIRST_FRAME_TAG), so that the ranges of
// one film can be joined, and keeping that mark in MP4 and QuickTime too. Streams are
// added between create() and begin(); what fails is said with FFmpeg's reason.
class FilmContainer {
public:
    FilmContainer() = default;
    ~FilmContainer();
    FilmContainer(const FilmContainer&) = delete;
    FilmContainer& operator=(const FilmContainer&) = delete;

    // A container of FFmpeg's `muxer` ("mp4", "webm", "mov") for `path`; FFmpeg's error
    // code, below 0, when it cannot be made.
    int create(const char* muxer, const std::string& path, std::uint64_t firstFrame);
    // Opens the file and writes the header, once every stream is added.
    bool begin(std::string& error);
    // Writes the trailer and closes the file.
    bool end(std::string& error);
    // Closes the file, ended or not, and frees the container.
    void abandon();

    AVFormatContext* context() const { return container; }
    bool begun() const { return headerWritten; }

    // The metadata key under which the file keeps the number of its first frame.
    static const char* const FIRST_FRAME_TAG;

private:
    AVFormatContext* container = nullptr;
    bool headerWritten = false;
};

} // namespace corvane
