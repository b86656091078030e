#include <gtest/gtest.h>
#include <vector>

#include "services/capture/FilmFrame.h"
#include "services/capture/PictureConverter.h"

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
}

namespace corvane {
namespace {

// Every plane of the picture, row by row, without the padding between rows.
std::vector<std::uint8_t> planes(const AVFrame& picture) {
    const AVPixFmtDescriptor* format = av_pix_fmt_desc_get(AVPixelFormat(picture.format));
    std::vector<std::uint8_t> bytes;
    for (int plane = 0; plane < 4 && picture.data[plane] != nullptr; ++plane) {
        const int rows =
            plane == 0 ? picture.height : AV_CEIL_RSHIFT(picture.height, format->log2_chroma_h);
        const int width =
            av_image_get_linesize(AVPixelFormat(picture.format), picture.width, plane);
        for (int row = 0; row < rows; ++row)
            bytes.insert(bytes.end(), picture.data[plane] + row * picture.linesize[plane],
                         picture.data[plane] + row * picture.linesize[plane] + width);
    }
    return bytes;
}

// A frame converted in bands on several threads is the frame converted in one, to the byte:
// every band has the colour details (BT.709, the video range) and the bands meet cleanly.
TEST(PictureConverter, BandsOnSeveralThreadsMakeThePictureOfOne) {
    constexpr int WIDTH = 66;
    constexpr int HEIGHT = 50;
    FilmFrame frame;
    frame.resize(WIDTH, HEIGHT);
    for (std::size_t i = 0; i < frame.pixels.size(); ++i)
        frame.pixels[i] = static_cast<std::uint8_t>((i * 7 + i / frame.rowBytes * 13) % 251);
    const struct {
        AVPixelFormat format;
        bool videoRange;
    } rows[] = {
        {AV_PIX_FMT_YUV420P, true}, {AV_PIX_FMT_YUV422P10LE, true}, {AV_PIX_FMT_RGB24, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(av_get_pix_fmt_name(row.format));
        PictureConverter one, several;
        std::string error;
        ASSERT_TRUE(one.open(WIDTH, HEIGHT, row.format, row.videoRange, 1, error)) << error;
        ASSERT_TRUE(several.open(WIDTH, HEIGHT, row.format, row.videoRange, 3, error)) << error;
        const AVFrame* whole = one.convert(frame, error);
        const AVFrame* banded = several.convert(frame, error);
        ASSERT_TRUE(whole != nullptr && banded != nullptr) << error;
        EXPECT_TRUE(planes(*whole) == planes(*banded));
    }
}

} // namespace
} // namespace corvane
