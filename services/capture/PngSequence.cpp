#include "services/capture/PngSequence.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/OutputFile.h"
#include "services/capture/FilmFrame.h"
#include "services/capture/PngEncoder.h"

namespace corvane {

PngSequence::PngSequence(std::string folder, std::uint32_t width, std::uint32_t height,
                         unsigned processors)
    : folder(std::move(folder)), width(width), height(height),
      threads(std::max(processors, 1u) + 1) {}

PngSequence::~PngSequence() = default;

std::string PngSequence::fileName(std::uint64_t number) {
    char name[32];
    std::snprintf(name, sizeof(name), "frame_%06llu.png", static_cast<unsigned long long>(number));
    return name;
}

bool PngSequence::holds(const std::string& folder, std::uint64_t number, std::uint32_t width,
                        std::uint32_t height) {
    // The signature, then the header chunk: its length, "IHDR", width and height.
    std::ifstream file(std::filesystem::path(folder) / fileName(number), std::ios::binary);
    unsigned char head[24] = {};
    if (!file.read(reinterpret_cast<char*>(head), sizeof(head)))
        return false;
    auto bigEndian = [&head](int at) {
        return std::uint32_t(head[at]) << 24 | std::uint32_t(head[at + 1]) << 16 |
               std::uint32_t(head[at + 2]) << 8 | std::uint32_t(head[at + 3]);
    };
    static const unsigned char SIGNATURE[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    return std::equal(std::begin(SIGNATURE), std::end(SIGNATURE), head) &&
           std::string(reinterpret_cast<const char*>(head + 12), 4) == "IHDR" &&
           bigEndian(16) == width && bigEndian(20) == height;
}

std::string PngSequence::name() const {
    return (std::filesystem::path(folder) / "").string();
}

bool PngSequence::begin(std::string& error) {
    for (unsigned i = 0; i < threads; ++i) {
        encoders.push_back(std::make_unique<PngEncoder>());
        if (width > 0 && height > 0 && !encoders.back()->open(width, height, error)) {
            error = name() + ": " + error;
            return false;
        }
    }
    return true;
}

bool PngSequence::writeFrame(unsigned worker, const FilmFrame& frame, std::string& error) {
    std::string_view file;
    if (!encoders[worker]->encode(frame, file, error))
        return false;
    const std::string path = (std::filesystem::path(folder) / fileName(frame.number)).string();
    if (!OutputFile::writeWhole(path, file, error)) {
        error = path + ": " + error;
        return false;
    }
    written += file.size();
    return true;
}

bool PngSequence::end(bool, std::string&) {
    encoders.clear();
    return true;
}

} // namespace corvane
