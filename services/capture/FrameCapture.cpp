#include "services/capture/FrameCapture.h"

#include <OgreDataStream.h>
#include <OgreException.h>
#include <OgreImage.h>
#include <OgreRenderWindow.h>
#include <OgreRoot.h>
#include <cstdio>
#include <filesystem>
#include <thread>
#include <tinyxml.h>

#include "framework/Identifiers.h"
#include "platform/DebugOutput.h"
#include "services/capture/FilmCapture.h"
#include "services/capture/FilmWriter.h"
#include "services/capture/PngSequence.h"

namespace corvane {

namespace {

// A whole number of 0 or more from an attribute; false when it is absent or not one.
bool readCount(const TiXmlElement* element, const char* name, std::uint64_t& out) {
    const char* text = element->Attribute(name);
    if (text == nullptr)
        return false;
    const std::string value(text);
    if (value.empty() || value.size() > 18 ||
        value.find_first_not_of("0123456789") != std::string::npos) {
        DebugOutput::line(std::string("FrameCapture::parseEnvironment(): \"") + name +
                          "\" needs a " + "whole number, not \"" + value + "\"; it is ignored");
        return false;
    }
    out = std::stoull(value);
    return true;
}

} // namespace

FrameCapture::FrameCapture() = default;

FrameCapture::~FrameCapture() = default;

HRESULT FrameCapture::QueryInterface(const UUID& iid, void** out) {
    if (iid != IID_IUnknown && iid != IID_IOutputStatus)
        return E_FAIL;
    *out = static_cast<IOutputStatus*>(this);
    AddRef();
    return S_OK;
}

std::int32_t FrameCapture::AddRef() {
    return ++referenceCount;
}

std::int32_t FrameCapture::Release() {
    return --referenceCount;
}

std::int32_t FrameCapture::getOutputStatus() {
    return film ? film->outputStatus() : outputStatus;
}

PLUGIN_INFO FrameCapture::pluginInfo() {
    return {PLUGIN_ID_FRAME_CAPTURE, {KIND_ID_FRAME_CAPTURE}, {}, this};
}

void FrameCapture::parseEnvironment(const TiXmlElement* environment) {
    if (environment == nullptr)
        return;
    if (const TiXmlElement* filmElement = environment->FirstChildElement("film")) {
        film = std::make_unique<FilmCapture>();
        filmUsable = film->configure(*filmElement);
        return;
    }
    if (const TiXmlElement* capture = environment->FirstChildElement("capture")) {
        if (const char* path = capture->Attribute("folder"); path != nullptr && *path != '\0')
            folder = path;
        readCount(capture, "every", every);
    }
    for (const TiXmlElement* element = environment->FirstChildElement("frame"); element != nullptr;
         element = element->NextSiblingElement("frame")) {
        std::uint64_t number = 0;
        if (readCount(element, "number", number))
            listed.insert(number);
    }
}

bool FrameCapture::start() {
    if (film)
        return filmUsable && film->start();
    if (!captureFolder.acquire(folder, outputStatus))
        return false;
    writer = std::make_unique<FilmWriter>(
        std::make_unique<PngSequence>(folder, 0, 0, std::thread::hardware_concurrency()));
    if (std::string error; !writer->begin(0, 0, error)) {
        DebugOutput::line("FrameCapture::start(): " + error);
        writer.reset();
        return false;
    }
    // The viewer, listed first, has its window by now: found here, the capture sees the
    // first frame, which the viewer renders before this plug-in's first frame call.
    listen();
    return true;
}

bool FrameCapture::isCaptured(std::uint64_t number) const {
    return (every > 0 && number % every == 0) || listed.count(number) > 0;
}

std::string FrameCapture::fileFor(std::uint64_t number) const {
    return (std::filesystem::path(folder) / PngSequence::fileName(number)).string();
}

bool FrameCapture::renderFrame(float) {
    if (film)
        return film->renderFrame();
    listen();
    if (std::string error; !failed && writer != nullptr && writer->failed(error))
        stopWriting(error);
    return !failed;
}

void FrameCapture::stopWriting(const std::string& error) {
    DebugOutput::line("FrameCapture: cannot write " + error + "; the capture stops");
    failed = true;
    outputStatus = OUTPUT_FAILED;
}

void FrameCapture::listen() {
    if (listening || failed)
        return;
    viewers.bind(IID_IViewerCore);
    for (IViewerCore* viewer : viewers) {
        window = viewer->getRenderWindow();
        if (window != nullptr)
            break;
    }
    if (window == nullptr || Ogre::Root::getSingletonPtr() == nullptr)
        return;
    Ogre::Root::getSingleton().addFrameListener(this);
    listening = true;
    // Frames are numbered as the engine counts them, also when the window was found late.
    frame = Ogre::Root::getSingleton().getNextFrameNumber();
    firstSeen = frame;
}

bool FrameCapture::frameStarted(const Ogre::FrameEvent&) {
    if (!failed && isCaptured(frame + 1)) {
        window->setVisible(true);
        window->setActive(true);
    }
    return true;
}

bool FrameCapture::frameRenderingQueued(const Ogre::FrameEvent&) {
    ++frame;
    if (failed || !isCaptured(frame))
        return true;
    if (!write(frame)) {
        failed = true;
        outputStatus = OUTPUT_FAILED;
    }
    return true;
}

bool FrameCapture::write(std::uint64_t number) {
    // The frame is read here, while the back buffer holds it; it is compressed and written
    // on the writer's threads.
    std::unique_ptr<FilmFrame> pixels = writer->nextFrame();
    if (pixels == nullptr)
        return true; // the writer failed: renderFrame() says so
    pixels->resize(window->getWidth(), window->getHeight());
    pixels->number = number;
    try {
        Ogre::PixelBox box(pixels->width, pixels->height, 1, Ogre::PF_BYTE_RGBA,
                           pixels->pixels.data());
        window->copyContentsToMemory(Ogre::Box(0, 0, pixels->width, pixels->height), box);
    } catch (const Ogre::Exception& exception) {
        DebugOutput::line("FrameCapture: cannot write " + fileFor(number) + ": " +
                          DebugOutput::oneLine(exception.getDescription()) + "; the capture stops");
        return false;
    }
    writer->write(std::move(pixels));
    return true;
}

void FrameCapture::stop() {
    if (film) {
        film->stop();
        return;
    }
    if (listening && Ogre::Root::getSingletonPtr() != nullptr)
        Ogre::Root::getSingleton().removeFrameListener(this);
    listening = false;
    if (writer != nullptr) {
        // Every frame read is written before the folder is given up.
        if (std::string error; !writer->end(error) && !failed)
            stopWriting(error);
        written = writer->framesWritten();
        writer.reset();
    }
    captureFolder.release();
    if (written > 0)
        DebugOutput::line("FrameCapture: " + std::to_string(written) +
                          (written == 1 ? " frame" : " frames") + " written to " +
                          std::filesystem::absolute(folder).string());
    // A frame asked for by number that was never written is said, not passed over; a
    // failure has said so already.
    std::string missed;
    std::size_t count = 0;
    for (std::uint64_t number : listed)
        if (!failed && (number <= firstSeen || number > frame)) {
            missed += (missed.empty() ? "" : ", ") + std::to_string(number);
            ++count;
        }
    if (count > 0)
        DebugOutput::line(
            "FrameCapture::stop(): " + std::string(count == 1 ? "frame " : "frames ") + missed +
            (count == 1 ? " was" : " were") + " asked for and not written; the capture saw " +
            (frame > firstSeen
                 ? "frames " + std::to_string(firstSeen + 1) + " to " + std::to_string(frame)
                 : std::string("no frame")));
}

} // namespace corvane
