// Video files as players and editors read them: FFmpeg's own command-line tools (Debian's
// ffmpeg package) decode what the capture wrote.
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

#include "services/capture/FilmFrame.h"
#include "services/capture/VideoFile.h"
#include "tests/support/ShellCommand.h"
#include "tests/support/TemporaryFolder.h"

namespace corvane {
namespace {

using testing::ShellCommand;

constexpr std::uint32_t WIDTH = 96;
constexpr std::uint32_t HEIGHT = 64;
constexpr std::uint32_t FPS = 25;
constexpr std::uint32_t RATE = 48000;
constexpr int FRAMES = 10;
// The sound starts with this frame.
constexpr int SOUND_FRAME = 4;
const std::uint8_t LEFT[] = {200, 30, 90};
const std::uint8_t RIGHT[] = {20, 180, 240};

// Two flat patches of colour side by side, and a tone from SOUND_FRAME on.
void writeClip(VideoFile& file) {
    FilmFrame frame;
    frame.resize(WIDTH, HEIGHT);
    for (std::uint32_t y = 0; y < HEIGHT; ++y)
        for (std::uint32_t x = 0; x < WIDTH; ++x)
            std::memcpy(&frame.pixels[y * frame.rowBytes + x * 4], x < WIDTH / 2 ? LEFT : RIGHT, 3);
    std::string error;
    for (int number = 0; number < FRAMES; ++number) {
        std::vector<float> sound(2 * RATE / FPS, 0.0f);
        for (std::size_t i = 0; number >= SOUND_FRAME && i < sound.size(); ++i)
            sound[i] = 0.5f * static_cast<float>(std::sin(0.05 * double(i / 2)));
        ASSERT_TRUE(file.addSound(sound.data(), sound.size() / 2, error)) << error;
        frame.number = static_cast<std::uint64_t>(number);
        ASSERT_TRUE(file.addFrame(frame, error)) << error;
    }
    ASSERT_TRUE(file.finish(error)) << error;
}

std::string probe(const std::string& path, const std::string& stream) {
    return ShellCommand::run("ffprobe -v error -count_frames -select_streams " + stream +
                             " -show_entries stream=codec_name,width,height,pix_fmt,"
                             "color_primaries,color_transfer,color_space,color_range,"
                             "nb_read_frames,sample_rate,channels -of default=nw=1 '" +
                             path + "'")
        .output;
}

TEST(VideoFile, EachContainerHoldsTheFramesTheirColoursAndTheSoundWhereItBegins) {
    if (ShellCommand::run("command -v ffprobe >/dev/null && command -v ffmpeg").status != 0)
        GTEST_SKIP() << "needs ffmpeg and ffprobe (Debian package ffmpeg)";
    const struct {
        FilmFormat format;
        const char* video;
        const char* sound;
    } rows[] = {
        {FilmFormat::MP4, "codec_name=h264\nwidth=96\nheight=64\npix_fmt=yuv420p\n",
         "codec_name=aac\n"},
        {FilmFormat::WEBM, "codec_name=vp9\nwidth=96\nheight=64\npix_fmt=yuv420p\n",
         "codec_name=opus\n"},
        {FilmFormat::MOV, "codec_name=prores\nwidth=96\nheight=64\npix_fmt=yuv422p10le\n",
         "codec_name=pcm_s16le\n"},
    };
    testing::TemporaryFolder folder;
    for (const auto& row : rows) {
        const std::string path = folder.path() + "/clip." + filmFormatName(row.format);
        SCOPED_TRACE(path);
        VideoFile file;
        std::string error;
        ASSERT_TRUE(file.open({path, row.format, WIDTH, HEIGHT, FPS, 90, RATE}, error)) << error;
        writeClip(file);

        const std::string video = probe(path, "v");
        EXPECT_EQ(video.rfind(row.video, 0), 0u) << video;
        EXPECT_NE(video.find("color_range=tv\ncolor_space=bt709\ncolor_transfer=iec61966-2-1\n"
                             "color_primaries=bt709\n"),
                  std::string::npos)
            << video;
        EXPECT_NE(video.find("nb_read_frames=10\n"), std::string::npos) << video;
        const std::string sound = probe(path, "a");
        EXPECT_EQ(sound.rfind(row.sound, 0), 0u) << sound;
        EXPECT_NE(sound.find("sample_rate=48000\nchannels=2\n"), std::string::npos) << sound;

        // Back to RGB, carefully, as the tags say.
        const std::string rgb =
            ShellCommand::run("ffmpeg -v error -i '" + path +
                              "' -vf 'select=eq(n\\,5),scale=flags=accurate_rnd+full_chroma_int' "
                              "-frames:v 1 -f rawvideo -pix_fmt rgb24 -")
                .output;
        ASSERT_EQ(rgb.size(), std::size_t(WIDTH) * HEIGHT * 3);
        for (const auto& [x, colour] : {std::pair{WIDTH / 4, LEFT}, {WIDTH * 3 / 4, RIGHT}})
            for (int channel = 0; channel < 3; ++channel)
                EXPECT_NEAR(
                    static_cast<std::uint8_t>(rgb[((HEIGHT / 2) * WIDTH + x) * 3 + channel]),
                    colour[channel], 2)
                    << "x " << x << " channel " << channel;

        // The tone's first sample, where players put it, within the frame it began with.
        const std::string samples =
            ShellCommand::run("ffmpeg -v error -i '" + path + "' -map 0:a -ac 1 -f f32le -").output;
        std::size_t first = 0;
        for (; first + 4 <= samples.size(); first += 4) {
            float value = 0.0f;
            std::memcpy(&value, samples.data() + first, 4);
            if (std::fabs(value) > 0.05f)
                break;
        }
        EXPECT_NEAR(double(first / 4), double(SOUND_FRAME * RATE / FPS), double(RATE / FPS));
        EXPECT_NEAR(double(samples.size() / 4), double(FRAMES * RATE / FPS), double(RATE / FPS));
    }
}

} // namespace
} // namespace corvane
