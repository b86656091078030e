#pragma once

#include <cstdint>
#include <string>

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixfmt.h>
}

struct SwsContext;

namespace corvane {

struct FilmFrame;

// A rendered frame (FilmFrame) converted by FFmpeg's libswscale into the picture an encoder
// takes, with the colour tags the picture carries.
class PictureConverter {
public:
    PictureConverter() = default;
    ~PictureConverter();
    PictureConverter(const PictureConverter&) = delete;
    PictureConverter& operator=(const PictureConverter&) = delete;

    // Frames of `width` x `height` into pictures of `format`. For a YUV format, `videoRange`
    // converts with BT.709 coefficients into the video range (16 to 235), as video players
    // expect. Each frame is converted in `threads` bands at once, on threads of libswscale's
    // own. False and `error` set when it cannot be set up.
    bool open(int width, int height, AVPixelFormat format, bool videoRange, int threads,
              std::string& error);
    // The frame converted, in a picture owned by the converter; null and `error` set when
    // it cannot be.
    AVFrame* convert(const FilmFrame& frame, std::string& error);

private:
    void close();

    SwsContext* converter = nullptr;
    AVFrame* picture = nullptr;
    // The frame's pixels as libswscale takes them: a frame of its own, referring to them.
    AVFrame* source = nullptr;
};

} // namespace corvane
