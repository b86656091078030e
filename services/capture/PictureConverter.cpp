#include "services/capture/PictureConverter.h"

extern "C" {
#include <libswscale/swscale.h>
}

#include "services/capture/FilmFrame.h"

namespace corvane {

PictureConverter::~PictureConverter() {
    close();
}

void PictureConverter::close() {
    sws_freeContext(converter);
    converter = nullptr;
    av_frame_free(&picture);
}

bool PictureConverter::open(int width, int height, AVPixelFormat format, bool videoRange,
                            std::string& error) {
    close();
    picture = av_frame_alloc();
    if (picture == nullptr) {
        error = "out of memory";
        return false;
    }
    picture->format = format;
    picture->width = width;
    picture->height = height;
    // The rendered pixels are sRGB, whose primaries are BT.709's.
    picture->color_primaries = AVCOL_PRI_BT709;
    picture->color_trc = AVCOL_TRC_IEC61966_2_1;
    if (videoRange) {
        picture->colorspace = AVCOL_SPC_BT709;
        picture->color_range = AVCOL_RANGE_MPEG;
    }
    if (av_frame_get_buffer(picture, 0) < 0) {
        error = "out of memory";
        close();
        return false;
    }
    converter = sws_getContext(width, height, AV_PIX_FMT_RGB0, width, height, format,
                               SWS_BICUBIC | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INP, nullptr,
                               nullptr, nullptr);
    if (converter == nullptr) {
        error = "the colour conversion cannot be set up";
        close();
        return false;
    }
    if (videoRange) {
        // Full-range RGB in, video-range YUV out, BT.709 both ways.
        const int* bt709 = sws_getCoefficients(SWS_CS_ITU709);
        sws_setColorspaceDetails(converter, bt709, 1, bt709, 0, 0, 1 << 16, 1 << 16);
    }
    return true;
}

AVFrame* PictureConverter::convert(const FilmFrame& frame, std::string& error) {
    if (av_frame_make_writable(picture) < 0) {
        error = "out of memory";
        return nullptr;
    }
    const std::uint8_t* rows[] = {frame.pixels.data()};
    const int strides[] = {static_cast<int>(frame.rowBytes)};
    sws_scale(converter, rows, strides, 0, static_cast<int>(frame.height), picture->data,
              picture->linesize);
    return picture;
}

} // namespace corvane
