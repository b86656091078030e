#include "services/capture/EncoderPackets.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace corvane {

std::string EncoderPackets::describe(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof(text));
    return text;
}

bool EncoderPackets::send(AVFormatContext* container, AVCodecContext* encoder, AVStream* stream,
                          AVFrame* frame, AVPacket* packet, std::string& error) {
    int code = avcodec_send_frame(encoder, frame);
    while (code >= 0) {
        code = avcodec_receive_packet(encoder, packet);
        if (code == AVERROR(EAGAIN) || code == AVERROR_EOF)
            return true;
        if (code < 0)
            break;
        av_packet_rescale_ts(packet, encoder->time_base, stream->time_base);
        packet->stream_index = stream->index;
        code = av_interleaved_write_frame(container, packet);
        if (code < 0) {
            error = describe(code);
            return false;
        }
    }
    error = std::string("the ") + encoder->codec->name + " encoder failed: " + describe(code);
    return false;
}

} // namespace corvane
