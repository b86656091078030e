#pragma once

#include <string>

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVStream;

namespace corvane {

// What an encoder makes of a frame, written into its stream of a container.
class EncoderPackets {
public:
    // Sends `frame` (null: the end) to `encoder` and writes every packet that comes out into
    // `stream` of `container`, through `packet`. False and `error` set (FFmpeg's reason) when
    // encoding or writing fails.
    static bool send(AVFormatContext* container, AVCodecContext* encoder, AVStream* stream,
                     AVFrame* frame, AVPacket* packet, std::string& error);
    // FFmpeg's words for an error code.
    static std::string describe(int code);
};

} // namespace corvane
