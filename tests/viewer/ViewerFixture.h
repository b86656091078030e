#pragma once

#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <string>

#include "tests/support/TemporaryFolder.h"
#include "viewer/ViewerApplication.h"

namespace Ogre {
class RenderWindow;
class SceneManager;
} // namespace Ogre

namespace corvane::testing {

// An application folder made from the build's runtime folder, and current while it lives.
class ViewerFolder {
public:
    ViewerFolder();

    const std::string& path() const { return folder.path(); }
    // Where the viewer runs its set-up: plugins/SceneViewer_Release.
    std::string startDirectory() const;
    std::string write(const std::string& relative, const std::string& text) const {
        return folder.write(relative, text);
    }
    void remove(const std::string& relative) const;

private:
    TemporaryFolder folder;
    CurrentDirectoryScope current;
};

// One pixel of a rendered frame.
struct Pixel {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    bool isBlack() const { return red == 0 && green == 0 && blue == 0; }
    int brightest() const;
};

// The window's pixels of every rendered frame, read back before the buffers are swapped,
// while they are the window's own: a window of another program over it cannot change them.
class FrameCapture;

// A white box of `size` units, lit by a white light at the origin, centred at `position`.
void addLitBox(Ogre::SceneManager* sceneManager, float x, float y, float z, float size);

// Tests of a started viewer, in a fresh application folder each. They need a display (the
// virtual X server under CTest) and skip themselves without one.
class ViewerTest : public ::testing::Test {
protected:
    ViewerTest();
    ~ViewerTest() override;
    void SetUp() override;
    void TearDown() override;

    // Starts `viewer` in the folder and captures its frames; the test fails when the start
    // does.
    void start();
    bool frame(float seconds) { return viewer->renderFrame(seconds); }
    // The pixel of the last rendered frame at the given fractions of its width and height.
    Pixel pixel(float x, float y) const;

    std::unique_ptr<ViewerFolder> folder;
    std::unique_ptr<ViewerApplication> viewer = std::make_unique<ViewerApplication>();
    std::unique_ptr<FrameCapture> capture;
};

} // namespace corvane::testing
