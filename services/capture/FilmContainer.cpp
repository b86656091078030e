#include "services/capture/FilmContainer.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include "services/capture/EncoderPackets.h"

namespace corvane {

const char* const FilmContainer::FIRST_FRAME_TAG = "corvane_first_frame";

FilmContainer::~FilmContainer() {
    abandon();
}

int FilmContainer::create(const char* muxer, const std::string& path, std::uint64_t firstFrame) {
    const int code = avformat_alloc_output_context2(&container, nullptr, muxer, path.c_str());
    if (code < 0)
        return code;
    av_dict_set(&container->metadata, FIRST_FRAME_TAG, std::to_string(firstFrame).c_str(), 0);
    return 0;
}

bool FilmContainer::begin(std::string& error) {
    int code = avio_open(&container->pb, container->url, AVIO_FLAG_WRITE);
    if (code < 0) {
        error = EncoderPackets::describe(code);
        return false;
    }
    // MP4 and QuickTime keep only the metadata they know unless told otherwise.
    AVDictionary* options = nullptr;
    av_dict_set(&options, "movflags", "use_metadata_tags", 0);
    code = avformat_write_header(container, &options);
    av_dict_free(&options);
    if (code < 0) {
        error = EncoderPackets::describe(code);
        return false;
    }
    headerWritten = true;
    return true;
}

bool FilmContainer::end(std::string& error) {
    int code = av_write_trailer(container);
    // A write that failed on the way may show only in the file's own error.
    if (code >= 0 && container->pb->error < 0)
        code = container->pb->error;
    if (code >= 0)
        code = avio_closep(&container->pb);
    if (code < 0) {
        error = EncoderPackets::describe(code);
        return false;
    }
    return true;
}

void FilmContainer::abandon() {
    if (container != nullptr && container->pb != nullptr)
        avio_closep(&container->pb);
    avformat_free_context(container);
    container = nullptr;
    headerWritten = false;
}

} // namespace corvane
