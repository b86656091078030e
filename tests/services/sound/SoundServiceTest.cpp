#include <algorithm>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <sndfile.h>
#include <tinyxml.h>
#include <vector>

#include "framework/ISound.h"
#include "framework/ISoundTrack.h"
#include "framework/Identifiers.h"
#include "services/sound/SoundService.h"
#include "tests/support/TemporaryFolder.h"

namespace corvane {
namespace {

// Writes a tone of the given length as a 16-bit WAV file (or another format libsndfile
// writes).
void writeTone(const std::string& path, double seconds, int channels = 1,
               int format = SF_FORMAT_WAV | SF_FORMAT_PCM_16) {
    SF_INFO info{};
    info.samplerate = 8000;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    const int frames = static_cast<int>(seconds * info.samplerate);
    std::vector<short> samples(static_cast<std::size_t>(frames * channels));
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<short>(8000 * std::sin(0.3 * static_cast<double>(i)));
    sf_writef_short(file, samples.data(), frames);
    sf_close(file);
}

class SoundServiceTest : public ::testing::Test {
protected:
    // Parses the environment and starts a silent bank; returns the diagnostic output.
    std::string start(const std::string& environment) {
        TiXmlDocument document;
        document.Parse(environment.c_str());
        ::testing::internal::CaptureStderr();
        service.parseEnvironment(document.RootElement());
        started = service.start();
        return ::testing::internal::GetCapturedStderr();
    }

    testing::TemporaryFolder folder;
    SoundService service;
    bool started = false;
};

TEST_F(SoundServiceTest, SoundsPlayToTheirEndOnTheFramesOfTheSilentOutput) {
    writeTone(folder.path() + "/door.wav", 0.5);
    EXPECT_EQ(start("<env><output mode=\"silent\"/><sound name=\"door\" file=\"" + folder.path() +
                    "/door.wav\"/></env>"),
              "");
    ASSERT_TRUE(started);
    EXPECT_TRUE(service.isSilent());
    ISound* door = service.findSound("door");
    ASSERT_NE(door, nullptr);
    EXPECT_FALSE(door->isPlaying());

    door->play();
    EXPECT_TRUE(door->isPlaying());
    service.renderFrame(0.3f);
    EXPECT_TRUE(door->isPlaying());
    // Playing again starts from the beginning: another 0.3 s does not reach the end.
    door->play();
    service.renderFrame(0.3f);
    EXPECT_TRUE(door->isPlaying());
    service.renderFrame(0.3f);
    EXPECT_FALSE(door->isPlaying());

    door->play();
    door->stop();
    EXPECT_FALSE(door->isPlaying());
}

TEST_F(SoundServiceTest, ManyShortFramesAddUpToTheSoundsLength) {
    writeTone(folder.path() + "/tick.wav", 0.25, 2);
    start("<env><output mode=\"silent\"/><sound name=\"tick\" file=\"" + folder.path() +
          "/tick.wav\"/></env>");
    ISound* tick = service.findSound("tick");
    ASSERT_NE(tick, nullptr);
    tick->play();
    // 1/60 s frames: fractions of a sample frame are carried, not lost.
    for (int frame = 0; frame < 14; ++frame)
        service.renderFrame(1.0f / 60.0f);
    EXPECT_TRUE(tick->isPlaying());
    for (int frame = 0; frame < 2; ++frame)
        service.renderFrame(1.0f / 60.0f);
    EXPECT_FALSE(tick->isPlaying());
}

TEST_F(SoundServiceTest, UnreadableSoundsAreOneLineEachAndNotInTheBank) {
    writeTone(folder.path() + "/ok.wav", 0.1);
    writeTone(folder.path() + "/wide.wav", 0.1, 3);
    folder.write("text.wav", "this is not a sound");
    const std::string errors = start("<env><output mode=\"silent\"/>\n"
                                     "<sound name=\"missing\" file=\"" +
                                     folder.path() +
                                     "/missing.wav\"/>\n"
                                     "<sound name=\"text\" file=\"" +
                                     folder.path() +
                                     "/text.wav\"/>\n"
                                     "<sound name=\"wide\" file=\"" +
                                     folder.path() +
                                     "/wide.wav\"/>\n"
                                     "<sound file=\"" +
                                     folder.path() +
                                     "/ok.wav\"/>\n"
                                     "<sound name=\"ok\" file=\"" +
                                     folder.path() + "/ok.wav\"/>\n</env>");
    EXPECT_TRUE(started);
    const std::string prefix = "SoundService::start(): sound ";
    EXPECT_NE(errors.find("SoundService::parseEnvironment(): a \"sound\" element (row 5) needs a "
                          "\"name\" and a \"file\"; it is skipped\n"),
              std::string::npos)
        << errors;
    EXPECT_NE(
        errors.find(prefix + "\"missing\": " + folder.path() + "/missing.wav cannot be read: "),
        std::string::npos)
        << errors;
    EXPECT_NE(errors.find(prefix + "\"text\": " + folder.path() + "/text.wav cannot be read: "),
              std::string::npos)
        << errors;
    EXPECT_NE(errors.find(prefix + "\"wide\": " + folder.path() +
                          "/wide.wav has 3 channels; only mono and stereo play\n"),
              std::string::npos)
        << errors;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 4) << errors;
    EXPECT_EQ(service.findSound("missing"), nullptr);
    EXPECT_EQ(service.findSound("text"), nullptr);
    EXPECT_EQ(service.findSound("wide"), nullptr);
    EXPECT_NE(service.findSound("ok"), nullptr);
    EXPECT_EQ(service.findSound("OK"), nullptr);
}

// A script names its sounds; without a "sound" element for a name, the name is a file's
// name in the project's folders.
TEST_F(SoundServiceTest, SoundsNotDefinedAreTheFilesOfTheirNameInTheFolders) {
    std::filesystem::create_directories(folder.path() + "/media/sfx");
    std::filesystem::create_directories(folder.path() + "/media/.git");
    writeTone(folder.path() + "/media/sfx/chime.flac", 0.1, 1, SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
    writeTone(folder.path() + "/media/sfx/wind.ogg", 0.1, 1, SF_FORMAT_OGG | SF_FORMAT_VORBIS);
    writeTone(folder.path() + "/media/door.wav", 0.1);
    writeTone(folder.path() + "/media/sfx/door.wav", 0.2);
    writeTone(folder.path() + "/media/.git/secret.wav", 0.1);
    writeTone(folder.path() + "/named.wav", 0.1);
    writeTone(folder.path() + "/outside.wav", 0.1);
    folder.write("media/broken.wav", "not a sound");
    EXPECT_EQ(start("<env><output mode=\"silent\"/><folder src=\"" + folder.path() +
                    "/media\"/><sound name=\"door\" file=\"" + folder.path() +
                    "/named.wav\"/></env>"),
              "");
    const struct {
        const char* name;
        bool found;
    } rows[] = {
        {"chime", true},    {"wind", true},        {"door", true},      {"secret", false},
        {"outside", false}, {"../outside", false}, {"sfx/door", false}, {"", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(service.findSound(row.name) != nullptr, row.found) << row.name;
    // The "sound" element's file is the one played, not the folders' door.wav.
    EXPECT_NE(service.findSound("door"), nullptr);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(service.findSound("broken"), nullptr);
    EXPECT_EQ(service.findSound("broken"), nullptr);
    EXPECT_EQ(::testing::internal::GetCapturedStderr().rfind(
                  "SoundService::findSound(): sound \"broken\": " + folder.path() +
                      "/media/broken.wav cannot be read: ",
                  0),
              0u);
}

// Offline, the sounds played in a frame start at that frame's first sample, however long
// the film has run: frames of 1/30 s are 1600 samples at 48 kHz, and none is lost to
// rounding.
TEST_F(SoundServiceTest, OfflineASoundStartsAtTheFirstSampleOfTheFrameItIsPlayedIn) {
    writeTone(folder.path() + "/door.wav", 0.05);
    start("<env><output mode=\"offline\" fps=\"30\"/><sound name=\"door\" file=\"" + folder.path() +
          "/door.wav\"/></env>");
    ASSERT_TRUE(started);
    void* out = nullptr;
    ASSERT_EQ(service.QueryInterface(IID_ISoundTrack, &out), S_OK);
    ISoundTrack& track = *static_cast<ISoundTrack*>(out);
    ASSERT_EQ(track.getSampleRate(), 48000u);
    ASSERT_EQ(track.getChannelCount(), 2u);
    std::vector<float> samples;
    auto take = [&] {
        std::vector<float> some(2 * 4000);
        const std::size_t taken = track.takeSamples(some.data(), 4000);
        samples.insert(samples.end(), some.begin(), some.begin() + std::ptrdiff_t(2 * taken));
    };
    for (int frame = 0; frame < 1000; ++frame) {
        if (frame == 999)
            service.findSound("door")->play();
        service.renderFrame(1.0f / 30.0f);
        take();
    }
    ASSERT_EQ(samples.size(), 2u * 1600000u);
    const auto first = std::find_if(samples.begin(), samples.end(),
                                    [](float sample) { return std::fabs(sample) > 1e-4f; });
    ASSERT_NE(first, samples.end());
    EXPECT_LE(std::distance(samples.begin(), first) / 2 - 999 * 1600, 4);
    EXPECT_GE(std::distance(samples.begin(), first) / 2, 999 * 1600);
}

TEST_F(SoundServiceTest, AnswersTheSoundBankAndIUnknownOnly) {
    void* out = nullptr;
    EXPECT_EQ(service.QueryInterface(IID_ISoundBank, &out), S_OK);
    EXPECT_EQ(out, static_cast<ISoundBank*>(&service));
    EXPECT_EQ(service.QueryInterface(IID_IUnknown, &out), S_OK);
    void* untouched = &service;
    EXPECT_EQ(service.QueryInterface(IID_IGuiOverlay, &untouched), E_FAIL);
    // The sound track only mixing offline.
    EXPECT_EQ(service.QueryInterface(IID_ISoundTrack, &untouched), E_FAIL);
    EXPECT_EQ(untouched, &service);
    EXPECT_EQ(service.Release(), 1);
    const PLUGIN_INFO info = service.pluginInfo();
    EXPECT_EQ(info.pluginId, PLUGIN_ID_SOUND);
    EXPECT_EQ(info.kindIds, std::list<UUID>{KIND_ID_SOUND});
}

} // namespace
} // namespace corvane
