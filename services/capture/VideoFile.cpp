#include "services/capture/VideoFile.h"

#include <algorithm>
#include <cmath>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/channel_layout.h>
#include <libavutil/log.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

#include "services/capture/FilmFrame.h"

namespace corvane {

namespace {

// The encoders and the pixel format of each container.
struct Layout {
    const char* container;
    const char* video;
    AVPixelFormat pixels;
    const char* sound;
};

Layout layoutOf(FilmFormat format) {
    switch (format) {
    case FilmFormat::WEBM:
        return {"webm", "libvpx-vp9", AV_PIX_FMT_YUV420P, "libopus"};
    case FilmFormat::MOV:
        return {"mov", "prores_ks", AV_PIX_FMT_YUV422P10LE, "pcm_s16le"};
    case FilmFormat::MP4:
    case FilmFormat::PNG:
        break;
    }
    return {"mp4", "libx264", AV_PIX_FMT_YUV420P, "aac"};
}

std::string describe(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof(text));
    return text;
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
        // x264's "superfast" keeps up with the rendering on two processors, where "veryfast"
        // took half as long again for half the size.
        av_dict_set(options, "preset", "superfast", 0);
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

const char* VideoFile::videoEncoderName(FilmFormat format) {
    return layoutOf(format).video;
}

const char* VideoFile::soundEncoderName(FilmFormat format) {
    return layoutOf(format).sound;
}

bool VideoFile::open(const Settings& wanted, std::string& error) {
    // FFmpeg's own log would add lines of its own to standard error; what fails is said
    // once, by the caller.
    av_log_set_level(AV_LOG_QUIET);
    settings = wanted;
    const Layout layout = layoutOf(settings.format);
    int code = avformat_alloc_output_context2(&container, nullptr, layout.container,
                                              settings.path.c_str());
    if (code < 0 || container == nullptr) {
        error = std::string("FFmpeg cannot write ") + layout.container + ": " + describe(code);
        return false;
    }
    packet = av_packet_alloc();
    if (!openVideo(error) || (settings.soundRate > 0 && !openSound(error)))
        return false;
    if ((code = avio_open(&container->pb, settings.path.c_str(), AVIO_FLAG_WRITE)) < 0) {
        error = describe(code);
        return false;
    }
    if ((code = avformat_write_header(container, nullptr)) < 0) {
        error = describe(code);
        return false;
    }
    headerWritten = true;
    return true;
}

bool VideoFile::openVideo(std::string& error) {
    const Layout layout = layoutOf(settings.format);
    const AVCodec* codec = avcodec_find_encoder_by_name(layout.video);
    if (codec == nullptr) {
        error = std::string("FFmpeg has no ") + layout.video + " encoder";
        return false;
    }
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
    video->thread_count = 0;
    tagColours(*video);
    if (container->oformat->flags & AVFMT_GLOBALHEADER)
        video->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    AVDictionary* options = nullptr;
    qualityOptions(settings.format, settings.quality, &options);
    const int code = avcodec_open2(video, codec, &options);
    av_dict_free(&options);
    if (code < 0) {
        error = std::string("the ") + layout.video + " encoder does not start: " + describe(code);
        return false;
    }
    avcodec_parameters_from_context(videoStream->codecpar, video);
    videoStream->time_base = video->time_base;
    videoStream->avg_frame_rate = video->framerate;

    return pictures.open(video->width, video->height, video->pix_fmt, true, error);
}

bool VideoFile::openSound(std::string& error) {
    const Layout layout = layoutOf(settings.format);
    const AVCodec* codec = avcodec_find_encoder_by_name(layout.sound);
    if (codec == nullptr) {
        error = std::string("FFmpeg has no ") + layout.sound + " encoder";
        return false;
    }
    soundStream = avformat_new_stream(container, nullptr);
    sound = avcodec_alloc_context3(codec);
    if (soundStream == nullptr || sound == nullptr) {
        error = "out of memory";
        return false;
    }
    sound->sample_fmt = codec->sample_fmts != nullptr ? codec->sample_fmts[0] : AV_SAMPLE_FMT_FLTP;
    sound->sample_rate = static_cast<int>(settings.soundRate);
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    av_channel_layout_copy(&sound->ch_layout, &stereo);
    sound->time_base = AVRational{1, sound->sample_rate};
    if (settings.format == FilmFormat::MP4)
        sound->bit_rate = 192000;
    else if (settings.format == FilmFormat::WEBM)
        sound->bit_rate = 128000;
    if (container->oformat->flags & AVFMT_GLOBALHEADER)
        sound->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    int code = avcodec_open2(sound, codec, nullptr);
    if (code < 0) {
        error = std::string("the ") + layout.sound + " encoder does not start: " + describe(code);
        return false;
    }
    avcodec_parameters_from_context(soundStream->codecpar, sound);
    soundStream->time_base = sound->time_base;

    soundFrame = av_frame_alloc();
    soundFrame->format = sound->sample_fmt;
    av_channel_layout_copy(&soundFrame->ch_layout, &sound->ch_layout);
    soundFrame->sample_rate = sound->sample_rate;
    soundFrame->nb_samples = sound->frame_size > 0 ? sound->frame_size : 1024;
    if (av_frame_get_buffer(soundFrame, 0) < 0) {
        error = "out of memory";
        return false;
    }
    code = swr_alloc_set_opts2(&resampler, &sound->ch_layout, sound->sample_fmt, sound->sample_rate,
                               &stereo, AV_SAMPLE_FMT_FLT, sound->sample_rate, 0, nullptr);
    if (code < 0 || swr_init(resampler) < 0) {
        error = "the sound conversion cannot be set up";
        return false;
    }
    heldSound = av_audio_fifo_alloc(AV_SAMPLE_FMT_FLT, 2, soundFrame->nb_samples);
    if (heldSound == nullptr) {
        error = "out of memory";
        return false;
    }
    return true;
}

bool VideoFile::addFrame(const FilmFrame& frame, std::string& error) {
    AVFrame* picture = pictures.convert(frame, error);
    if (picture == nullptr)
        return false;
    picture->pts = static_cast<std::int64_t>(videoFrames++);
    return encode(video, videoStream, picture, error);
}

bool VideoFile::addSound(const float* samples, std::size_t frames, std::string& error) {
    if (heldSound == nullptr || frames == 0)
        return true;
    void* planes[] = {const_cast<float*>(samples)};
    if (av_audio_fifo_write(heldSound, planes, static_cast<int>(frames)) < 0) {
        error = "out of memory";
        return false;
    }
    soundSamplesIn += frames;
    return drainSound(false, error);
}

bool VideoFile::drainSound(bool all, std::string& error) {
    const int frameSize = soundFrame->nb_samples;
    const bool smallLast = (sound->codec->capabilities & (AV_CODEC_CAP_SMALL_LAST_FRAME |
                                                          AV_CODEC_CAP_VARIABLE_FRAME_SIZE)) != 0;
    std::vector<float> chunk(2 * static_cast<std::size_t>(frameSize));
    while (av_audio_fifo_size(heldSound) >= frameSize ||
           (all && av_audio_fifo_size(heldSound) > 0)) {
        const int count = std::min(frameSize, av_audio_fifo_size(heldSound));
        std::fill(chunk.begin(), chunk.end(), 0.0f);
        void* planes[] = {chunk.data()};
        av_audio_fifo_read(heldSound, planes, count);
        // A last frame the encoder takes only whole is filled up with silence.
        const int length = count < frameSize && !smallLast ? frameSize : count;
        if (av_frame_make_writable(soundFrame) < 0) {
            error = "out of memory";
            return false;
        }
        soundFrame->nb_samples = length;
        const std::uint8_t* input[] = {reinterpret_cast<const std::uint8_t*>(chunk.data())};
        if (swr_convert(resampler, soundFrame->data, length, input, length) < 0) {
            error = "the sound cannot be converted";
            return false;
        }
        soundFrame->pts = static_cast<std::int64_t>(soundSamples);
        soundSamples += static_cast<std::uint64_t>(length);
        if (!encode(sound, soundStream, soundFrame, error))
            return false;
        soundFrame->nb_samples = frameSize;
    }
    return true;
}

bool VideoFile::encode(AVCodecContext* encoder, AVStream* stream, AVFrame* frame,
                       std::string& error) {
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

bool VideoFile::finish(std::string& error) {
    if (!headerWritten) {
        error = "was never begun";
        return false;
    }
    if (heldSound != nullptr) {
        // The sound track as long as the pictures, to the sample.
        const std::uint64_t wanted = videoFrames * settings.soundRate / settings.framesPerSecond;
        if (soundSamplesIn < wanted) {
            const std::vector<float> silence(2 * static_cast<std::size_t>(wanted - soundSamplesIn));
            if (!addSound(silence.data(), silence.size() / 2, error))
                return false;
        } else if (soundSamplesIn > wanted) {
            const std::uint64_t extra = soundSamplesIn - wanted;
            const int held = av_audio_fifo_size(heldSound);
            av_audio_fifo_drain(
                heldSound, static_cast<int>(std::min<std::uint64_t>(extra, std::uint64_t(held))));
        }
        if (!drainSound(true, error) || !encode(sound, soundStream, nullptr, error))
            return false;
    }
    if (!encode(video, videoStream, nullptr, error))
        return false;
    int code = av_write_trailer(container);
    if (code < 0 || container->pb->error < 0) {
        error = describe(code < 0 ? code : container->pb->error);
        return false;
    }
    code = avio_closep(&container->pb);
    if (code < 0) {
        error = describe(code);
        return false;
    }
    release();
    return true;
}

void VideoFile::abandon() {
    if (container != nullptr && container->pb != nullptr)
        avio_closep(&container->pb);
    release();
}

void VideoFile::release() {
    swr_free(&resampler);
    if (heldSound != nullptr)
        av_audio_fifo_free(heldSound);
    heldSound = nullptr;
    av_frame_free(&soundFrame);
    av_packet_free(&packet);
    avcodec_free_context(&video);
    avcodec_free_context(&sound);
    if (container != nullptr)
        avformat_free_context(container);
    container = nullptr;
    headerWritten = false;
}

} // namespace corvane
