#include "services/capture/PngSequence.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "services/capture/FilmFrame.h"
#include "services/capture/PngEncoder.h"

namespace corvane {

namespace {

// The bytes as the whole of the file `path`, written under a temporary name first.
bool writeWhole(const std::string& path, const std::vector<std::uint8_t>& bytes,
                std::string& error) {
    const std::string temporary = path + ".part";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        file.flush();
        if (!file) {
            error = "cannot be written";
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code failure;
    std::filesystem::rename(temporary, path, failure);
    if (failure) {
        error = failure.message();
        return false;
    }
    return true;
}

} // namespace

PngSequence::PngSequence(std::string folder, std::uint32_t width, std::uint32_t height,
                         unsigned threads)
    : folder(std::move(folder)), width(width), height(height), threads(threads > 0 ? threads : 1) {}

PngSequence::~PngSequence() = default;

std::string PngSequence::fileName(std::uint64_t number) {
    char name[32];
    std::snprintf(name, sizeof(name), "frame_%06llu.png", static_cast<unsigned long long>(number));
    return name;
}

std::string PngSequence::name() const {
    return (std::filesystem::path(folder) / "").string();
}

bool PngSequence::begin(std::string& error) {
    for (unsigned i = 0; i < threads; ++i) {
        encoders.push_back(std::make_unique<PngEncoder>());
        if (!encoders.back()->open(width, height, error))
            return false;
    }
    return true;
}

bool PngSequence::writeFrame(unsigned worker, const FilmFrame& frame, std::string& error) {
    std::vector<std::uint8_t> file;
    if (!encoders[worker]->encode(frame, file, error))
        return false;
    const std::string path = (std::filesystem::path(folder) / fileName(frame.number)).string();
    if (!writeWhole(path, file, error)) {
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
