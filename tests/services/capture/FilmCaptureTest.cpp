// A film whose viewer stops handing back frames: the run must not end as if the film were
// made, and the summary says what is there.
#include <filesystem>
#include <gtest/gtest.h>
#include <tinyxml.h>
#include <vector>

#include "framework/IFrameSource.h"
#include "framework/IOutputStatus.h"
#include "framework/Identifiers.h"
#include "services/capture/FilmCapture.h"
#include "tests/support/FakeHost.h"
#include "tests/support/TemporaryFolder.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

// Frames of one grey; the read numbered `failingRead` (from 1) and every one after fail.
class FakeFrameSource final : public IFrameSource {
public:
    explicit FakeFrameSource(int failingRead) : failingRead(failingRead) {}
    HRESULT QueryInterface(const UUID& iid, void** out) override {
        if (iid != IID_IUnknown && iid != IID_IFrameSource)
            return E_FAIL;
        *out = static_cast<IFrameSource*>(this);
        return S_OK;
    }
    std::int32_t AddRef() override { return 1; }
    std::int32_t Release() override { return 1; }
    bool openTarget(std::uint32_t w, std::uint32_t h) override { return w > 0 && h > 0; }
    void showOverlayElement(const std::string&) override {}
    void setDrawing(bool) override {}
    bool readFrame(std::uint8_t* pixels, std::size_t rowBytes) override {
        if (failingRead > 0 && ++reads >= failingRead)
            return false;
        std::fill(pixels, pixels + rowBytes * SIDE, std::uint8_t(128));
        return true;
    }
    std::uint32_t getTargetWidth() override { return SIDE; }
    std::uint32_t getTargetHeight() override { return SIDE; }

    static constexpr std::uint32_t SIDE = 16;

private:
    int failingRead;
    int reads = 0;
};

TEST(FilmCapture, AViewerThatGivesNoFrameFailsTheOutputAndTheSummarySaysWhatIsThere) {
    const struct {
        const char* output;       // under the test's folder
        const char* film;         // attributes besides format, output and size
        int failingRead;          // 0: none fails
        std::vector<int> present; // frames there before the run
        std::int32_t status;
        std::vector<std::string> lines; // "OUT" stands for the output's path
    } rows[] = {
        {"frames/",
         "format=\"png\" first=\"0\" end=\"6\"",
         0,
         {},
         IOutputStatus::OUTPUT_WRITTEN,
         {"FrameCapture: wrote OUT: 6 frames of 16x16 at 30 fps"}},
        {"frames/",
         "format=\"png\" first=\"0\" end=\"6\"",
         4,
         {},
         IOutputStatus::OUTPUT_FAILED,
         {"FrameCapture: the viewer gave no frame 3\n",
          "FrameCapture: the film failed after 3 of 6 frames; wrote OUT: 3 frames of 16x16"}},
        {"frames/",
         "format=\"png\" first=\"0\" end=\"6\" range=\"true\"",
         3,
         {4, 5},
         IOutputStatus::OUTPUT_FAILED,
         {"FrameCapture: the viewer gave no frame 2\n",
          "FrameCapture: the film failed after 4 of 6 frames; wrote OUT: 2 frames rendered now "
          "and 2 there already, of 16x16"}},
        {"film.mp4",
         "format=\"mp4\" first=\"30\" end=\"36\" range=\"true\"",
         3,
         {},
         IOutputStatus::OUTPUT_FAILED,
         {"FrameCapture: the viewer gave no frame 32\n",
          "FrameCapture: the range failed after 2 of 6 frames; no file of it is kept at OUT\n"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.film) + " failing read " + std::to_string(row.failingRead));
        testing::TemporaryFolder folder;
        const std::string output = folder.path() + "/" + row.output;
        // A frame is there when its file starts as a PNG file of the film's size does.
        const std::string header("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x10\0\0\0\x10", 24);
        for (int frame : row.present)
            folder.write(std::string(row.output) + "frame_00000" + std::to_string(frame) + ".png",
                         header);
        testing::FakeHost host;
        FakeFrameSource source(row.failingRead);
        host.add(UUID::fromFields(0x7E57F00D, 0, 0, 1), &source);
        TiXmlDocument document;
        document.Parse(("<film " + std::string(row.film) + " output=\"" + output +
                        "\" width=\"16\" height=\"16\" fps=\"30\" quality=\"80\"/>")
                           .c_str());
        FilmCapture capture;
        ASSERT_TRUE(capture.configure(*document.RootElement()));
        ::testing::internal::CaptureStderr();
        ASSERT_TRUE(capture.start());
        for (int frame = 0; frame < 100 && capture.renderFrame(); ++frame) {
        }
        capture.stop();
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(capture.outputStatus(), row.status);
        for (std::string line : row.lines) {
            if (const std::size_t at = line.find("OUT"); at != std::string::npos)
                line.replace(at, 3, output);
            EXPECT_NE(said.find(line), std::string::npos) << line << "\nin:\n" << said;
        }
        if (fs::path(output).extension() == ".mp4") {
            EXPECT_FALSE(fs::exists(output)) << "a range cut short is not kept";
        }
    }
}

// A value the film cannot be made with is one line naming the element's row, and the film
// is refused.
TEST(FilmCapture, ValuesThatCannotBeUsedAreOneLineEach) {
    const struct {
        const char* film;
        const char* line;
    } rows[] = {
        {"format=\"gif\" output=\"f\"", "needs format \"png\", \"mp4\", \"webm\" or \"mov\""},
        {"format=\"png\" output=\"\"", "needs an output"},
        {"format=\"png\" output=\"f\" first=\"5\" end=\"5\"",
         "needs end from 6 to 1099511627776, not \"5\""},
        {"format=\"png\" output=\"f\" width=\"-2\"", "needs width from 2 to 16384, not \"-2\""},
    };
    for (const auto& row : rows) {
        TiXmlDocument document;
        document.Parse(("<film " + std::string(row.film) + "/>").c_str());
        TiXmlElement& film = *document.RootElement();
        for (const char* name : {"width", "height", "fps", "quality", "first", "end"})
            if (film.Attribute(name) == nullptr)
                film.SetAttribute(name, name == std::string("first") ? "0" : "16");
        FilmCapture capture;
        ::testing::internal::CaptureStderr();
        EXPECT_FALSE(capture.configure(film)) << row.film;
        EXPECT_EQ(::testing::internal::GetCapturedStderr(),
                  std::string("FrameCapture::parseEnvironment(): \"film\" (row 1) ") + row.line +
                      "\n");
    }
}

} // namespace
} // namespace corvane
