#include "services/capture/FilmSegment.h"

#include <algorithm>
#include <cstring>
#include <utility>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include "services/capture/EncoderPackets.h"
#include "services/capture/FilmContainer.h"

namespace corvane {

FilmSegment::~FilmSegment() {
    avformat_close_input(&context);
}

FilmSegment::FilmSegment(FilmSegment&& other) noexcept {
    *this = std::move(other);
}

FilmSegment& FilmSegment::operator=(FilmSegment&& other) noexcept {
    std::swap(path, other.path);
    std::swap(context, other.context);
    std::swap(video, other.video);
    std::swap(sound, other.sound);
    std::swap(rate, other.rate);
    std::swap(first, other.first);
    std::swap(frames, other.frames);
    return *this;
}

bool FilmSegment::open(const std::string& file, std::string& error) {
    path = file;
    int code = avformat_open_input(&context, file.c_str(), nullptr, nullptr);
    if (code < 0 || (code = avformat_find_stream_info(context, nullptr)) < 0) {
        error = EncoderPackets::describe(code);
        return false;
    }
    video = av_find_best_stream(context, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    sound = av_find_best_stream(context, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (video < 0) {
        error = "has no pictures";
        return false;
    }
    const AVDictionaryEntry* tag =
        av_dict_get(context->metadata, FilmContainer::FIRST_FRAME_TAG, nullptr, 0);
    const std::string number = tag != nullptr ? tag->value : "";
    if (number.empty() || number.size() > 18 ||
        number.find_first_not_of("0123456789") != std::string::npos) {
        error = "does not say where in a film it begins: it is no film of corvane render";
        return false;
    }
    first = std::stoull(number);
    const AVStream& pictures = *context->streams[video];
    const AVRational frameRate = pictures.avg_frame_rate;
    if (frameRate.den != 1 || frameRate.num <= 0) {
        error = "has no whole number of frames a second";
        return false;
    }
    rate = static_cast<std::uint32_t>(frameRate.num);

    // Every frame from the first to the last once: presentation times 0, 1, 2, ... frames.
    std::vector<std::int64_t> times;
    AVPacket* packet = av_packet_alloc();
    while ((code = av_read_frame(context, packet)) >= 0) {
        if (packet->stream_index == video)
            times.push_back(
                av_rescale_q(packet->pts, pictures.time_base, AVRational{1, frameRate.num}));
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    if (code != AVERROR_EOF) {
        error = "cannot be read: " + EncoderPackets::describe(code);
        return false;
    }
    std::sort(times.begin(), times.end());
    for (std::size_t i = 0; i < times.size(); ++i)
        if (times[i] != static_cast<std::int64_t>(i)) {
            error = i > 0 && times[i] == times[i - 1]
                        ? "has frame " + std::to_string(first + i - 1) + " twice"
                        : "lacks frame " + std::to_string(first + i);
            return false;
        }
    frames = times.size();
    if (frames == 0) {
        error = "has no frame";
        return false;
    }
    code = avformat_seek_file(context, -1, INT64_MIN, 0, 0, 0);
    if (code < 0) {
        error = "cannot be read again: " + EncoderPackets::describe(code);
        return false;
    }
    return true;
}

std::uint32_t FilmSegment::width() const {
    return static_cast<std::uint32_t>(context->streams[video]->codecpar->width);
}

std::uint32_t FilmSegment::height() const {
    return static_cast<std::uint32_t>(context->streams[video]->codecpar->height);
}

bool FilmSegment::matches(const FilmSegment& other, std::string& difference) const {
    const AVCodecParameters& mine = *context->streams[video]->codecpar;
    const AVCodecParameters& theirs = *other.context->streams[other.video]->codecpar;
    if (mine.width != theirs.width || mine.height != theirs.height) {
        difference = "frames of " + std::to_string(theirs.width) + "x" +
                     std::to_string(theirs.height) + ", not " + std::to_string(mine.width) + "x" +
                     std::to_string(mine.height);
        return false;
    }
    if (rate != other.rate) {
        difference = std::to_string(other.rate) + " frames a second, not " + std::to_string(rate);
        return false;
    }
    if (mine.codec_id != theirs.codec_id || mine.format != theirs.format ||
        mine.extradata_size != theirs.extradata_size ||
        (mine.extradata_size > 0 &&
         std::memcmp(mine.extradata, theirs.extradata, std::size_t(mine.extradata_size)) != 0)) {
        difference = "pictures coded otherwise (" + std::string(avcodec_get_name(theirs.codec_id)) +
                     ", not " + avcodec_get_name(mine.codec_id) + " with the same settings)";
        return false;
    }
    if ((sound < 0) != (other.sound < 0)) {
        difference = other.sound < 0 ? "no sound" : "sound where the first has none";
        return false;
    }
    if (sound >= 0) {
        const AVCodecParameters& heard = *context->streams[sound]->codecpar;
        const AVCodecParameters& otherHeard = *other.context->streams[other.sound]->codecpar;
        if (heard.codec_id != otherHeard.codec_id || heard.sample_rate != otherHeard.sample_rate) {
            difference = "sound of " + std::string(avcodec_get_name(otherHeard.codec_id)) + " at " +
                         std::to_string(otherHeard.sample_rate) + " Hz, not " +
                         avcodec_get_name(heard.codec_id) + " at " +
                         std::to_string(heard.sample_rate) + " Hz";
            return false;
        }
    }
    return true;
}

} // namespace corvane
