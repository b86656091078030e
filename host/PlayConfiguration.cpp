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
    add(*viewer, "window")->SetAttribute("title", title);

    addPlugin(*root, "UserInterface");

    TiXmlElement* playback = addPlugin(*root, "PlaybackDirector");
    if (!script.empty()) {
        TiXmlElement* source = add(*playback, "script");
        source->SetAttribute("src", script);
        source->SetAttribute("watch", "true");
    }
    add(*playback, "start")->SetAttribute("playing", "true");

    addPlugin(*root, "Sound");

    if (!captureFolder.empty()) {
        TiXmlElement* capture = add(*addPlugin(*root, "FrameCapture"), "capture");
        capture->SetAttribute("folder", captureFolder);
        capture->SetAttribute("every", std::to_string(captureEvery));
    }

    TiXmlPrinter printer;
    document.Accept(&printer);
    return printer.Str();
}

} // namespace corvane
