#pragma once

#include <OgreFrameListener.h>
#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include "framework/IOutputStatus.h"
#include "framework/IViewerCore.h"
#include "framework/PluginInfo.h"
#include "framework/ProviderList.h"
#include "services/capture/CaptureFolder.h"

class TiXmlElement;

namespace corvane {

class FilmCapture;
class FilmWriter;

// The frame-capture plug-in's one object: writes the viewer's window to numbered PNG
// files, which is how a run without a screen shows what a user would see. Frame N is the
// N-th frame the engine renders, the host's frame N when the viewer renders one per frame;
// it is read between rendering and the buffer swap, while the window's back buffer holds
// it. Listed after the viewer, the plug-in finds the window at its start and sees every
// frame; listed before, at its first frame call, and the frames before are not written.
// The folder is this run's while it runs (CaptureFolder). The frames read go to a PNG
// sequence (PngSequence), compressed and written on worker threads beside the frames, each
// under its name only once it is whole; a frame that cannot be written stops the capture
// and asks the host to stop, which tells it by IOutputStatus.
//
//   <environment>
//     <capture folder="frames" every="30"/>   every N-th frame (0: none), into the folder
//                                             (relative to the current folder, made at start)
//     <frame number="1"/> ...                 and these frames
//   </environment>
//
// With a "film" element it makes a film instead (FilmCapture): frames drawn off-screen at
// the film's size, written with the sound as a video file or a PNG sequence.
class FrameCapture final : public IOutputStatus, public Ogre::FrameListener {
public:
    FrameCapture();
    ~FrameCapture() override;

    HRESULT QueryInterface(const UUID& iid, void** out) override;
    std::int32_t AddRef() override;
    std::int32_t Release() override;
    std::int32_t getOutputStatus() override;

    PLUGIN_INFO pluginInfo();
    void parseEnvironment(const TiXmlElement* environment);
    // Makes and locks the folder; false, with one line, when it cannot be written into or
    // another run is writing into it.
    bool start();
    // False once a frame could not be written.
    bool renderFrame(float seconds);
    // Stops listening to the engine's frames; writes one line naming the folder and the
    // number of frames written, and one naming the listed frames that were not.
    void stop();

    // A window that other windows cover is not rendered by the engine; a frame to be
    // written is rendered all the same.
    bool frameStarted(const Ogre::FrameEvent& event) override;
    // Counts the engine's rendered frames and writes the ones asked for.
    bool frameRenderingQueued(const Ogre::FrameEvent& event) override;

    // The file that frame `number` is written to.
    std::string fileFor(std::uint64_t number) const;
    std::uint64_t framesWritten() const { return written; }

private:
    // Finds the viewer's window and listens to the engine's frames, once.
    void listen();
    bool isCaptured(std::uint64_t number) const;
    // Reads the window's back buffer and queues it as frame `number`; false, with one line,
    // when it cannot be read.
    bool write(std::uint64_t number);
    // The writer failed: one line, and the capture stops.
    void stopWriting(const std::string& error);

    std::unique_ptr<FilmCapture> film;
    bool filmUsable = true;
    ProviderList<IViewerCore> viewers;
    Ogre::RenderWindow* window = nullptr;
    bool listening = false;
    std::string folder = "frames";
    std::uint64_t every = 0;
    std::set<std::uint64_t> listed;
    // The engine's count of frames: when the window was found, and now.
    std::uint64_t firstSeen = 0;
    std::uint64_t frame = 0;
    std::uint64_t written = 0;
    bool failed = false;
    std::int32_t outputStatus = OUTPUT_WRITTEN;
    CaptureFolder captureFolder;
    std::unique_ptr<FilmWriter> writer;
    std::int32_t referenceCount = 0;
};

} // namespace corvane
