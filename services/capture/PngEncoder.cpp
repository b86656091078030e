#include "services/capture/PngEncoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/log.h>
#include <libavutil/opt.h>
}

#include "services/capture/EncoderPackets.h"
#include "services/capture/FilmFrame.h"

namespace corvane {

PngEncoder::PngEncoder() = default;

PngEncoder::~PngEncoder() {
    close();
}

void PngEncoder::close() {
    av_packet_free(&packet);
    avcodec_free_context(&encoder);
}

bool PngEncoder::open(std::uint32_t width, std::uint32_t height, std::string& error) {
    close();
    // FFmpeg's own log would add lines of its own to standard error; what fails is said
    // once, by the caller.
    av_log_set_level(AV_LOG_QUIET);
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_PNG);
    if (codec == nullptr) {
        error = "FFmpeg has no PNG encoder";
        return false;
    }
    encoder = avcodec_alloc_context3(codec);
    packet = av_packet_alloc();
    if (encoder == nullptr || packet == nullptr) {
        error = "out of memory";
        return false;
    }
    encoder->width = static_cast<int>(width);
    encoder->height = static_cast<int>(height);
    encoder->pix_fmt = AV_PIX_FMT_RGB24;
    encoder->time_base = AVRational{1, 1};
    encoder->compression_level = COMPRESSION_LEVEL;
    encoder->thread_count = 1;
    AVDictionary* options = nullptr;
    av_dict_set(&options, "pred", "up", 0);
    const int code = avcodec_open2(encoder, codec, &options);
    av_dict_free(&options);
    if (code < 0) {
        error = "the PNG encoder does not start: " + EncoderPackets::describe(code);
        return false;
    }
    // The encoder marks the file as sRGB.
    // One thread: a PNG sequence compresses several frames at once already.
    return pictures.open(encoder->width, encoder->height, AV_PIX_FMT_RGB24, false, 1, error);
}

bool PngEncoder::encode(const FilmFrame& frame, std::string_view& file, std::string& error) {
    if ((encoder == nullptr || frame.width != static_cast<std::uint32_t>(encoder->width) ||
         frame.height != static_cast<std::uint32_t>(encoder->height)) &&
        !open(frame.width, frame.height, error))
        return false;
    AVFrame* picture = pictures.convert(frame, error);
    if (picture == nullptr)
        return false;
    int code = avcodec_send_frame(encoder, picture);
    if (code >= 0)
        code = avcodec_receive_packet(encoder, packet);
    if (code < 0) {
        error = "the PNG encoder failed: " + EncoderPackets::describe(code);
        return false;
    }
    // The packet is kept until the next frame: the file is written straight from it.
    file = std::string_view(reinterpret_cast<const char*>(packet->data),
                            static_cast<std::size_t>(packet->size));
    return true;
}

} // namespace corvane
