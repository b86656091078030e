#include "tools/join/FilmJoin.h"

#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

#include "platform/StopSignals.h"
#include "services/capture/EncoderPackets.h"
#include "services/capture/FilmContainer.h"
#include "services/capture/FilmSegment.h"
#include "services/capture/SoundEncoder.h"

namespace corvane {

namespace {

// One segment's sound, decoded into stereo floats at its own rate.
class SoundDecoder {
public:
    ~SoundDecoder() {
        swr_free(&converter);
        av_frame_free(&frame);
        avcodec_free_context(&decoder);
    }

    bool open(const AVStream& stream, std::string& error) {
        const AVCodec* codec = avcodec_find_decoder(stream.codecpar->codec_id);
        decoder = codec != nullptr ? avcodec_alloc_context3(codec) : nullptr;
        frame = av_frame_alloc();
        int code = decoder == nullptr ? AVERROR_DECODER_NOT_FOUND
                                      : avcodec_parameters_to_context(decoder, stream.codecpar);
        if (code >= 0)
            code = avcodec_open2(decoder, codec, nullptr);
        if (code < 0) {
            error = "its sound cannot be decoded: " + EncoderPackets::describe(code);
            return false;
        }
        return true;
    }

    // Decodes `packet` (null: the end) and appends the samples to `samples`.
    bool decode(const AVPacket* packet, std::vector<float>& samples, std::string& error) {
        int code = avcodec_send_packet(decoder, packet);
        while (code >= 0) {
            code = avcodec_receive_frame(decoder, frame);
            if (code == AVERROR(EAGAIN) || code == AVERROR_EOF)
                return true;
            if (code < 0)
                break;
            if (converter == nullptr) {
                AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
                if (swr_alloc_set_opts2(&converter, &stereo, AV_SAMPLE_FMT_FLT, frame->sample_rate,
                                        &frame->ch_layout, AVSampleFormat(frame->format),
                                        frame->sample_rate, 0, nullptr) < 0 ||
                    swr_init(converter) < 0) {
                    error = "its sound cannot be converted";
                    return false;
                }
            }
            const std::size_t before = samples.size();
            samples.resize(before + 2 * static_cast<std::size_t>(frame->nb_samples));
            std::uint8_t* out[] = {reinterpret_cast<std::uint8_t*>(samples.data() + before)};
            const int converted = swr_convert(
                converter, out, frame->nb_samples,
                const_cast<const std::uint8_t**>(frame->extended_data), frame->nb_samples);
            samples.resize(before + 2 * static_cast<std::size_t>(std::max(converted, 0)));
        }
        error = "its sound cannot be decoded: " + EncoderPackets::describe(code);
        return false;
    }

private:
    AVCodecContext* decoder = nullptr;
    AVFrame* frame = nullptr;
    SwrContext* converter = nullptr;
};

// The sample frames of film frames `first` to `past` - 1, as the render mixes them: whole
// samples from the frame count, so that no rounding adds up over a film.
std::uint64_t samplesOf(std::uint64_t first, std::uint64_t past, std::uint64_t rate,
                        std::uint64_t fps) {
    return past * rate / fps - first * rate / fps;
}

class Writer {
public:
    ~Writer() { av_packet_free(&packet); }

    FilmJoin::Fault write(const std::vector<FilmSegment>& segments, FilmFormat format,
                          const std::string& file, std::string& error) {
        const FilmSegment& head = segments.front();
        const AVStream& pictures = *head.container()->streams[head.videoStream()];
        const AVRational frameTime{1, static_cast<int>(head.framesPerSecond())};
        int code = output.create(filmFormatName(format), file, head.firstFrame());
        packet = av_packet_alloc();
        if (code < 0 || packet == nullptr)
            return fail(code, error);
        AVFormatContext* container = output.context();
        AVStream* video = avformat_new_stream(container, nullptr);
        if (video == nullptr || avcodec_parameters_copy(video->codecpar, pictures.codecpar) < 0)
            return fail(AVERROR(ENOMEM), error);
        video->codecpar->codec_tag = 0;
        video->time_base = frameTime;
        video->avg_frame_rate = pictures.avg_frame_rate;
        const AVStream* heard =
            head.soundStream() >= 0 ? head.container()->streams[head.soundStream()] : nullptr;
        const std::uint32_t rate =
            heard != nullptr ? std::uint32_t(heard->codecpar->sample_rate) : 0;
        if (heard != nullptr && !sound.open(container, format, rate, error))
            return FilmJoin::Fault::OUTPUT;
        if (!output.begin(error))
            return FilmJoin::Fault::OUTPUT;

        // Where the sound of the segments so far ends, to the sample: what the render mixed
        // for their frames.
        std::uint64_t soundEnd = 0;
        for (const FilmSegment& segment : segments) {
            const std::int64_t shift = std::int64_t(segment.firstFrame() - head.firstFrame());
            const AVStream& source = *segment.container()->streams[segment.videoStream()];
            soundEnd += samplesOf(segment.firstFrame(), segment.lastFrame() + 1, rate,
                                  segment.framesPerSecond());
            SoundDecoder decoder;
            if (heard != nullptr &&
                !decoder.open(*segment.container()->streams[segment.soundStream()], error))
                return unreadable(segment, error);
            std::vector<float> samples;
            // What the segment's sound holds past its own samples is cut.
            auto pass = [&] {
                const std::uint64_t count =
                    std::min<std::uint64_t>(samples.size() / 2, soundEnd - sound.samplesAdded());
                const bool added = sound.add(samples.data(), count, error);
                samples.clear();
                return added;
            };
            while ((code = av_read_frame(segment.container(), packet)) >= 0) {
                if (StopSignals::received() != 0) {
                    av_packet_unref(packet);
                    return FilmJoin::Fault::STOPPED;
                }
                if (packet->stream_index == segment.videoStream()) {
                    av_packet_rescale_ts(packet, source.time_base, frameTime);
                    packet->pts += shift;
                    packet->dts += shift;
                    packet->stream_index = video->index;
                    packet->pos = -1;
                    av_packet_rescale_ts(packet, frameTime, video->time_base);
                    if ((code = av_interleaved_write_frame(container, packet)) < 0)
                        return fail(code, error);
                } else if (packet->stream_index == segment.soundStream()) {
                    const bool decoded = decoder.decode(packet, samples, error);
                    av_packet_unref(packet);
                    if (!decoded)
                        return unreadable(segment, error);
                    if (!pass())
                        return FilmJoin::Fault::OUTPUT;
                }
                av_packet_unref(packet);
            }
            if (code != AVERROR_EOF) {
                error = "cannot be read: " + EncoderPackets::describe(code);
                return unreadable(segment, error);
            }
            if (heard != nullptr) {
                if (!decoder.decode(nullptr, samples, error))
                    return unreadable(segment, error);
                // A segment's sound that ends short is filled with silence to its end.
                if (!pass() || !sound.fill(soundEnd, error))
                    return FilmJoin::Fault::OUTPUT;
            }
        }
        if (heard != nullptr && !sound.finish(soundEnd, error))
            return FilmJoin::Fault::OUTPUT;
        return output.end(error) ? FilmJoin::Fault::NONE : FilmJoin::Fault::OUTPUT;
    }

private:
    static FilmJoin::Fault fail(int code, std::string& error) {
        error = EncoderPackets::describe(code);
        return FilmJoin::Fault::OUTPUT;
    }
    static FilmJoin::Fault unreadable(const FilmSegment& segment, std::string& error) {
        error = segment.file() + ": " + error;
        return FilmJoin::Fault::SEGMENT;
    }

    FilmContainer output;
    SoundEncoder sound;
    AVPacket* packet = nullptr;
};

} // namespace

FilmJoin::Fault FilmJoin::write(const std::vector<FilmSegment>& segments, FilmFormat format,
                                const std::string& file, std::string& error) {
    Writer writer;
    return writer.write(segments, format, file, error);
}

} // namespace corvane
