#pragma once

#include <string>
#include <vector>

namespace corvane::tools {

// Writes the short sounds of the demo as WAV files, synthesised at build time so that no
// recording is committed.
class SoundGenerator {
public:
    explicit SoundGenerator(std::string folder);

    // door.wav (a creak), chime.wav (a bell for picking something up), whoosh.wav (the
    // camera's sweep). Throws std::runtime_error when a file cannot be written.
    void writeAll() const;
    // The file names writeAll() makes.
    static std::vector<std::string> fileNames();

    static constexpr int SAMPLE_RATE = 22050;

private:
    void write(const std::string& name, const std::vector<float>& samples) const;

    std::string folder;
};

} // namespace corvane::tools
