#include "services/capture/VideoFile.h"

#include <algorithm>
#include <cmath>
#include <thread>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/log.h>
#include <libavutil/opt.h>
}

#include "services/capture/EncoderPackets.h"
#include "services/capture/FilmFrame.h"

namespace corvane {

namespace {

// The video encoder and the pixel format of each container.
struct Layout {
    const char* container;
    const char* video;
    AVPixelFormat pixels;
};

Layout layoutOf(FilmFormat format) {
    switch (format) {
    case FilmFormat::WEBM:
        return {"webm", "libvpx-vp9", AV_PIX_FMT_YUV420P};
    case FilmFormat::MOV:
        return {"mov", "prores_ks", AV_PIX_FMT_YUV422P10LE};
    case FilmFormat::MP4:
    case FilmFormat::PNG:
        break;
    }
    return {"mp4", "libx264", AV_PIX_FMT_YUV420P};
}

// The rendered pixels are sRGB, the BT.709 primaries; players convert back with the
// BT.709 matrix from the video range.
void tagColours(AVCodecContext& encoder) {
    encoder.color_primaries = AVCOL_PRI_BT709;
    encoder.color_trc = AVCOL_TRC_IEC61966_2_1;
    encoder.colorspace = AVCOL_SPC_BT709;
    encoder.color_range = AVCOL_RANGE_MPEG;
}

// The encoder's options for a quality of 1 (smallest) to 100 (best).
void qualityOptions(FilmFormat format, int quality, AVDictionary** options) {
    const double q = std::clamp(quality, 1, 100);
    switch (format) {
    case FilmFormat::MP4:
        av_dict_set(options, "crf", std::to_string(std::lround(51.0 - 0.4 * q)).c_str(), 0);
        // x264's "ultrafast" takes half the processor time of "superfast" (1280x720: about
        // 1.9 ms a frame against 3.5), for files 1.4 to 1.6 times the size at the same
        // quality; with the colour conversion it keeps up with the rendering on two
        // processors, where "superfast" did not.
        av_dict_set(options, "preset", "ultrafast", 0);
        break;
    case FilmFormat::WEBM:
        av_dict_set(options, "crf", std::to_string(std::lround(63.0 - 0.5 * q)).c_str(), 0);
        av_dict_set(options, "b", "0", 0);
        av_dict_set(options, "deadline", "realtime", 0);
        av_dict_set(options, "cpu-used", "8", 0);
        av_dict_set(options, "row-mt", "1", 0);
        break;
    case FilmFormat::MOV:
        av_dict_set(options, "profile", q >= 90 ? "hq" : "standard", 0);
        av_dict_set(options, "vendor", "apl0", 0);
        break;
    case FilmFormat::PNG:
        break;
    }
}

} // namespace

VideoFile::VideoFile() = default;

VideoFile::~VideoFile() {
    abandon();
}

bool VideoFile::open(const Settings& wanted, std::string& error) {
    // FFmpeg's own log would add lines of its own to standard error; what fails is said
    // once, by the caller.
    av_log_set_level(AV_LOG_QUIET);
    settings = wanted;
    const Layout layout = layoutOf(settings.format);
    if (const int code = output.create(layout.container, settings.path, settings.firstFrame);
        code < 0) {
        error = std::string("FFmpeg cannot write ") + layout.container + ": " +
                EncoderPackets::describe(code);
        return false;
    }
    packet = av_packet_alloc();
    if (!openVideo(error) ||
        (settings.soundRate > 0 &&
         !sound.open(output.context(), settings.format, settings.soundRate, error)))
        return false;
    return output.begin(error);
}

bool VideoFile::openVideo(std::string& error) {
    const Layout layout = layoutOf(settings.format);
    const AVCodec* codec = avcodec_find_encoder_by_name(layout.video);
    if (codec == nullptr) {
        error = std::string("FFmpeg has no ") + layout.video + " encoder";
        return false;
    }
    AVFormatContext* container = output.context();
    if (videoStream == nullptr)
        videoStream = avformat_new_stream(container, nullptr);
    video = avcodec_alloc_context3(codec);
    if (videoStream == nullptr || video == nullptr) {
        error = "out of memory";
        return false;
    }
    video->width = static_cast<int>(settings.width);
    video->height = static_cast<int>(settings.height);
    video->time_base = AVRational{1, static_cast<int>(settings.framesPerSecond)};
    video->framerate = AVRational{static_cast<int>(settings.framesPerSecond), 1};
    video->pix_fmt = layout.pixels;
    video->thread_count = ENCODER_THREADS;
    // A second's frames are one group of pictures, closed: nothing refers across.
    video->gop_size = static_cast<int>(settings.framesPerSecond);
    tagColours(*video);
    if (container->oformat->flags & AVFMT_GLOBALHEADER)
        video->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    AVDictionary* options = nullptr;
    qualityOptions(settings.format, settings.quality, &options);
    const int code = avcodec_open2(video, codec, &options);
    av_dict_free(&options);
    if (code < 0) {
        error = std::string("the ") + layout.video +
                " encoder does not start: " + EncoderPackets::describe(code);
        return false;
    }
    if (output.begun())
        return true;
    avcodec_parameters_from_context(videoStream->codecpar, video);
    videoStream->time_base = video->time_base;
    videoStream->avg_frame_rate = video->framerate;

    // The film's frames are converted and encoded one after the other, in order: the
    // conversion is spread over every processor, so that it keeps up with the rendering
    // beside the encoder's own threads.
    const int processors = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    return pictures.open(video->width, video->height, video->pix_fmt, true, processors, error);
}

bool VideoFile::addFrame(const FilmFrame& frame, std::string& error) {
    // A new second of the film: the encoder ends the last one's pictures and starts anew.
    const std::uint64_t number = settings.firstFrame + videoFrames;
    if (videoFrames > 0 && number % settings.framesPerSecond == 0) {
        if (!EncoderPackets::send(output.context(), video, videoStream, nullptr, packet, error))
            return false;
        avcodec_free_context(&video);
        if (!openVideo(error))
            return false;
    }
    AVFrame* picture = pictures.convert(frame, error);
    if (picture == nullptr)
        return false;
    picture->pts = static_cast<std::int64_t>(videoFrames++);
    return EncoderPackets::send(output.context(), video, videoStream, picture, packet, error);
}

bool VideoFile::addSound(const float* samples, std::size_t frames, std::string& error) {
    return sound.add(samples, frames, error);
}

bool VideoFile::finish(std::string& error) {
    if (!output.begun()) {
        error = "was never begun";
        return false;
    }
    // The sound track as long as the pictures, to the sample.
    const std::uint64_t wanted = videoFrames * settings.soundRate / settings.framesPerSecond;
    if (!sound.finish(wanted, error) ||
        !EncoderPackets::send(output.context(), video, videoStream, nullptr, packet, error) ||
        !output.end(error))
        return false;
    release();
    return true;
}

void VideoFile::abandon() {
    release();
}

void VideoFile::release() {
    sound.release();
    av_packet_free(&packet);
    avcodec_free_context(&video);
    output.abandon();
    videoStream = nullptr;
}

} // namespace corvane
