#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct AVFormatContext;

namespace corvane {

// One video file of a range of a film, as `corvane render --frame-range` writes it, opened
// for joining: its place in the film (the number of its first frame, which the file
// records), its frames counted from the video's packets, and its streams.
class FilmSegment {
public:
    FilmSegment() = default;
    ~FilmSegment();
    FilmSegment(FilmSegment&& other) noexcept;
    FilmSegment& operator=(FilmSegment&& other) noexcept;
    FilmSegment(const FilmSegment&) = delete;
    FilmSegment& operator=(const FilmSegment&) = delete;

    // Opens the file and reads its video packets' times, then goes back to its start. False
    // and `error` set to a phrase after the file's name when it is no film of a range or a
    // frame is missing or doubled in it.
    bool open(const std::string& file, std::string& error);

    // Whether `other` has the same pictures' size, rate and coding, and the same sound: what
    // lets their packets follow each other in one stream. False and `difference` set.
    bool matches(const FilmSegment& other, std::string& difference) const;

    const std::string& file() const { return path; }
    std::uint64_t firstFrame() const { return first; }
    std::uint64_t frameCount() const { return frames; }
    std::uint64_t lastFrame() const { return first + frames - 1; }
    AVFormatContext* container() const { return context; }
    int videoStream() const { return video; }
    // -1 without sound.
    int soundStream() const { return sound; }
    std::uint32_t framesPerSecond() const { return rate; }
    std::uint32_t width() const;
    std::uint32_t height() const;

private:
    std::string path;
    AVFormatContext* context = nullptr;
    int video = -1;
    int sound = -1;
    std::uint32_t rate = 0;
    std::uint64_t first = 0;
    std::uint64_t frames = 0;
};

} // namespace corvane
