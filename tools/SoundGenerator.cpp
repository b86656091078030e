#include "tools/SoundGenerator.h"

#include <cmath>
#include <random>
#include <sndfile.h>
#include <stdexcept>

namespace corvane::tools {

namespace {

constexpr double PI = 3.14159265358979323846;

std::vector<float> silence(double seconds) {
    return std::vector<float>(static_cast<std::size_t>(seconds * SoundGenerator::SAMPLE_RATE),
                              0.0f);
}

// A wooden creak: a slowly falling tone with strong overtones, broken into rough pulses.
std::vector<float> creak() {
    std::vector<float> samples = silence(1.4);
    double phase = 0.0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double t = static_cast<double>(i) / SoundGenerator::SAMPLE_RATE;
        const double pitch = 180.0 - 60.0 * t + 25.0 * std::sin(2.0 * PI * 3.1 * t);
        phase += 2.0 * PI * pitch / SoundGenerator::SAMPLE_RATE;
        const double pulse = 0.55 + 0.45 * std::sin(2.0 * PI * 23.0 * t);
        const double envelope = std::min(1.0, t / 0.05) * std::exp(-1.6 * t);
        const double tone =
            std::sin(phase) + 0.5 * std::sin(2.0 * phase) + 0.3 * std::sin(3.0 * phase);
        samples[i] = static_cast<float>(0.3 * envelope * pulse * tone);
    }
    return samples;
}

// A bell: a few inharmonic partials that ring out.
std::vector<float> chime() {
    std::vector<float> samples = silence(1.6);
    const double partials[][3] = {{880.0, 1.0, 2.2},
                                  {1760.0 * 1.01, 0.5, 3.5},
                                  {2640.0 * 0.99, 0.3, 5.0},
                                  {3520.0, 0.15, 7.0}};
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double t = static_cast<double>(i) / SoundGenerator::SAMPLE_RATE;
        double value = 0.0;
        for (const auto& partial : partials)
            value += partial[1] * std::exp(-partial[2] * t) * std::sin(2.0 * PI * partial[0] * t);
        samples[i] = static_cast<float>(0.22 * std::min(1.0, t / 0.005) * value);
    }
    return samples;
}

// A sweep of air: noise through a resonance that rises and falls.
std::vector<float> whoosh() {
    std::vector<float> samples = silence(1.2);
    std::mt19937 random(7);
    std::uniform_real_distribution<double> noise(-1.0, 1.0);
    double low = 0.0;
    double band = 0.0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double t = static_cast<double>(i) / SoundGenerator::SAMPLE_RATE;
        const double centre = 300.0 + 1500.0 * std::sin(PI * t / 1.2);
        const double f = 2.0 * std::sin(PI * centre / SoundGenerator::SAMPLE_RATE);
        // A state-variable filter's band-pass output.
        const double high = noise(random) - low - 0.7 * band;
        band += f * high;
        low += f * band;
        samples[i] = static_cast<float>(0.35 * std::sin(PI * t / 1.2) * band);
    }
    return samples;
}

} // namespace

SoundGenerator::SoundGenerator(std::string folder) : folder(std::move(folder)) {}

std::vector<std::string> SoundGenerator::fileNames() {
    return {"door.wav", "chime.wav", "whoosh.wav"};
}

void SoundGenerator::writeAll() const {
    write("door.wav", creak());
    write("chime.wav", chime());
    write("whoosh.wav", whoosh());
}

void SoundGenerator::write(const std::string& name, const std::vector<float>& samples) const {
    SF_INFO info{};
    info.samplerate = SAMPLE_RATE;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    const std::string path = folder + "/" + name;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr)
        throw std::runtime_error(path + ": " + sf_strerror(nullptr));
    const sf_count_t written =
        sf_writef_float(file, samples.data(), static_cast<sf_count_t>(samples.size()));
    sf_close(file);
    if (written != static_cast<sf_count_t>(samples.size()))
        throw std::runtime_error(path + ": the sound could not be written whole");
}

} // namespace corvane::tools
