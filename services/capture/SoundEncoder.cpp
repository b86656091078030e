#include "services/capture/SoundEncoder.h"

#include <algorithm>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

#include "services/capture/EncoderPackets.h"

namespace corvane {

namespace {

// The encoder of each format.
const char* encoderName(FilmFormat format) {
    switch (format) {
    case FilmFormat::WEBM:
        return "libopus";
    case FilmFormat::MOV:
        return "pcm_s16le";
    case FilmFormat::MP4:
    case FilmFormat::PNG:
        break;
    }
    return "aac";
}

} // namespace

SoundEncoder::~SoundEncoder() {
    release();
}

bool SoundEncoder::open(AVFormatContext* into, FilmFormat format, std::uint32_t rate,
                        std::string& error) {
    container = into;
    const char* name = encoderName(format);
    const AVCodec* codec = avcodec_find_encoder_by_name(name);
    if (codec == nullptr) {
        error = std::string("FFmpeg has no ") + name + " encoder";
        return false;
    }
    stream = avformat_new_stream(container, nullptr);
    sound = avcodec_alloc_context3(codec);
    packet = av_packet_alloc();
    if (stream == nullptr || sound == nullptr || packet == nullptr) {
        error = "out of memory";
        return false;
    }
    sound->sample_fmt = codec->sample_fmts != nullptr ? codec->sample_fmts[0] : AV_SAMPLE_FMT_FLTP;
    sound->sample_rate = static_cast<int>(rate);
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    av_channel_layout_copy(&sound->ch_layout, &stereo);
    sound->time_base = AVRational{1, sound->sample_rate};
    if (format == FilmFormat::MP4)
        sound->bit_rate = 192000;
    else if (format == FilmFormat::WEBM)
        sound->bit_rate = 128000;
    if (container->oformat->flags & AVFMT_GLOBALHEADER)
        sound->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    int code = avcodec_open2(sound, codec, nullptr);
    if (code < 0) {
        error = std::string("the ") + name +
                " encoder does not start: " + EncoderPackets::describe(code);
        return false;
    }
    avcodec_parameters_from_context(stream->codecpar, sound);
    stream->time_base = sound->time_base;

    frame = av_frame_alloc();
    frame->format = sound->sample_fmt;
    av_channel_layout_copy(&frame->ch_layout, &sound->ch_layout);
    frame->sample_rate = sound->sample_rate;
    frame->nb_samples = sound->frame_size > 0 ? sound->frame_size : 1024;
    if (av_frame_get_buffer(frame, 0) < 0) {
        error = "out of memory";
        return false;
    }
    code = swr_alloc_set_opts2(&resampler, &sound->ch_layout, sound->sample_fmt, sound->sample_rate,
                               &stereo, AV_SAMPLE_FMT_FLT, sound->sample_rate, 0, nullptr);
    if (code < 0 || swr_init(resampler) < 0) {
        error = "the sound conversion cannot be set up";
        return false;
    }
    held = av_audio_fifo_alloc(AV_SAMPLE_FMT_FLT, 2, frame->nb_samples);
    chunk.assign(2 * static_cast<std::size_t>(frame->nb_samples), 0.0f);
    if (held == nullptr) {
        error = "out of memory";
        return false;
    }
    return true;
}

bool SoundEncoder::add(const float* samples, std::size_t frames, std::string& error) {
    if (held == nullptr || frames == 0)
        return true;
    void* planes[] = {const_cast<float*>(samples)};
    if (av_audio_fifo_write(held, planes, static_cast<int>(frames)) < 0) {
        error = "out of memory";
        return false;
    }
    samplesIn += frames;
    return drain(false, error);
}

bool SoundEncoder::drain(bool all, std::string& error) {
    const int frameSize = frame->nb_samples;
    const bool smallLast = (sound->codec->capabilities & (AV_CODEC_CAP_SMALL_LAST_FRAME |
                                                          AV_CODEC_CAP_VARIABLE_FRAME_SIZE)) != 0;
    while (av_audio_fifo_size(held) >= frameSize || (all && av_audio_fifo_size(held) > 0)) {
        const int count = std::min(frameSize, av_audio_fifo_size(held));
        void* planes[] = {chunk.data()};
        av_audio_fifo_read(held, planes, count);
        // A last frame the encoder takes only whole is filled up with silence.
        std::fill(chunk.begin() + 2 * count, chunk.end(), 0.0f);
        const int length = count < frameSize && !smallLast ? frameSize : count;
        if (av_frame_make_writable(frame) < 0) {
            error = "out of memory";
            return false;
        }
        frame->nb_samples = length;
        const std::uint8_t* input[] = {reinterpret_cast<const std::uint8_t*>(chunk.data())};
        if (swr_convert(resampler, frame->data, length, input, length) < 0) {
            error = "the sound cannot be converted";
            return false;
        }
        frame->pts = static_cast<std::int64_t>(samplesOut);
        samplesOut += static_cast<std::uint64_t>(length);
        if (!EncoderPackets::send(container, sound, stream, frame, packet, error))
            return false;
        frame->nb_samples = frameSize;
    }
    return true;
}

bool SoundEncoder::fill(std::uint64_t total, std::string& error) {
    if (held == nullptr || samplesIn >= total)
        return true;
    const std::vector<float> silence(2 * static_cast<std::size_t>(total - samplesIn));
    return add(silence.data(), silence.size() / 2, error);
}

bool SoundEncoder::finish(std::uint64_t total, std::string& error) {
    if (held == nullptr)
        return true;
    if (!fill(total, error))
        return false;
    if (samplesIn > total) {
        const std::uint64_t extra = samplesIn - total;
        const int count = av_audio_fifo_size(held);
        av_audio_fifo_drain(held,
                            static_cast<int>(std::min<std::uint64_t>(extra, std::uint64_t(count))));
    }
    return drain(true, error) &&
           EncoderPackets::send(container, sound, stream, nullptr, packet, error);
}

void SoundEncoder::release() {
    swr_free(&resampler);
    if (held != nullptr)
        av_audio_fifo_free(held);
    held = nullptr;
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&sound);
    container = nullptr;
    stream = nullptr;
}

} // namespace corvane
