#include "host/PlayConfiguration.h"

#include <filesystem>
#include <tinyxml.h>

namespace corvane {

namespace {

TiXmlElement* add(TiXmlNode& parent, const char* name) {
    return parent.LinkEndChild(new TiXmlElement(name))->ToElement();
}

// A "plugin" element and its "environment".
TiXmlElement* addPlugin(TiXmlNode& root, const char* library) {
    TiXmlElement* plugin = add(root, "plugin");
    plugin->SetAttribute("library", library);
    return add(*plugin, "environment");
}

// The overlay elements of the status line and the time bar.
const char* const STATUS_ELEMENTS[] = {"ZORV/StatusText", "ZORV/StatusText/Static1",
                                       "ZORV/Timebar"};

} // namespace

std::string PlayConfiguration::text() const {
    // Built as a document, so that the parser's own writer escapes what the paths hold.
    TiXmlDocument document;
    document.LinkEndChild(new TiXmlDeclaration("1.0", "UTF-8", ""));
    TiXmlElement* root = add(document, "corvane");

    TiXmlElement* viewer = addPlugin(*root, "SceneViewer");
    for (const std::string& folder : folders) {
        TiXmlElement* path = add(*viewer, "searchpath");
        path->SetAttribute("src", folder);
        path->SetAttribute("recursive", "true");
    }
    add(*viewer, "scene")->SetAttribute("src", std::filesystem::path(scene).filename().string());
    add(*viewer, "camera")->SetAttribute("start", "scene-camera");
    // "Corvane - SCENE (KEYFRAMES)": what plays, by the files' names.
    std::string title = "Corvane - " + std::filesystem::path(scene).filename().string();
    if (!script.empty())
        title += " (" + std::filesystem::path(script).filename().string() + ")";
    TiXmlElement* window = add(*viewer, "window");
    window->SetAttribute("title", title);
    if (film)
        window->SetAttribute("visible", "false");

    if (!film || film->statusOverlay)
        addPlugin(*root, "UserInterface");

    TiXmlElement* playback = addPlugin(*root, "PlaybackDirector");
    if (!script.empty()) {
        TiXmlElement* source = add(*playback, "script");
        source->SetAttribute("src", script);
        source->SetAttribute("watch", film ? "false" : "true");
    }
    TiXmlElement* start = add(*playback, "start");
    start->SetAttribute("playing", "true");
    if (film)
        start->SetDoubleAttribute("clock", 0.5 / film->framesPerSecond);
    if (film && film->range)
        start->SetAttribute("frames", std::to_string(film->first));

    TiXmlElement* sound = addPlugin(*root, "Sound");
    if (film) {
        TiXmlElement* output = add(*sound, "output");
        output->SetAttribute("mode", "offline");
        output->SetAttribute("fps", std::to_string(film->framesPerSecond));
        if (film->range)
            output->SetAttribute("first", std::to_string(film->first));
    }
    for (const auto& [name, file] : sounds) {
        TiXmlElement* defined = add(*sound, "sound");
        defined->SetAttribute("name", name);
        defined->SetAttribute("file", file);
    }
    for (const std::string& folder : folders)
        add(*sound, "folder")->SetAttribute("src", folder);

    if (film) {
        TiXmlElement* made = add(*addPlugin(*root, "FrameCapture"), "film");
        made->SetAttribute("format", film->format);
        made->SetAttribute("output", film->output);
        made->SetAttribute("width", std::to_string(film->width));
        made->SetAttribute("height", std::to_string(film->height));
        made->SetAttribute("fps", std::to_string(film->framesPerSecond));
        made->SetAttribute("first", std::to_string(film->first));
        made->SetAttribute("end", std::to_string(film->end));
        made->SetAttribute("quality", std::to_string(film->quality));
        if (film->range)
            made->SetAttribute("range", "true");
        if (film->force)
            made->SetAttribute("force", "true");
        for (const char* element : STATUS_ELEMENTS)
            if (film->statusOverlay)
                add(*made, "overlay")->SetAttribute("element", element);
    } else if (!captureFolder.empty()) {
        TiXmlElement* capture = add(*addPlugin(*root, "FrameCapture"), "capture");
        capture->SetAttribute("folder", captureFolder);
        capture->SetAttribute("every", std::to_string(captureEvery));
    }

    TiXmlPrinter printer;
    document.Accept(&printer);
    return printer.Str();
}

} // namespace corvane
