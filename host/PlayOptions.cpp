#include "host/PlayOptions.h"

#include "host/CommandLine.h"
#include "host/SceneArguments.h"

namespace corvane {

bool PlayOptions::parse(const std::vector<std::string>& arguments, std::string& error) {
    SceneArguments read(
        {}, {"--media", "--capture", "--every", "--frames", "--fixed-step", "--sounds"});
    if (!read.read(arguments, error))
        return false;
    help = read.has("--help");
    bool everyGiven = false;
    for (const auto& [option, value] : read.values()) {
        if (option == "--media") {
            mediaFolders.push_back(value);
        } else if (option == "--capture") {
            captureFolder = value;
        } else if (option == "--sounds") {
            sounds = value;
        } else if (option == "--every") {
            everyGiven = true;
            if (!CommandLine::readCount(value, captureEvery) || captureEvery == 0) {
                error = "--every needs a whole number of 1 or more, not \"" + value + "\"";
                return false;
            }
        } else {
            // The host's own reading of the frame options, with its messages.
            CommandLine host;
            if (!host.parse({option, value}, error))
                return false;
            if (host.fixedStep)
                frames.fixedStep = host.fixedStep;
            if (host.frames)
                frames.frames = host.frames;
        }
    }
    if (help)
        return true;
    if (everyGiven && captureFolder.empty()) {
        error = "--every needs --capture";
        return false;
    }
    return read.sceneAndScript(scene, keyframes, error);
}

std::string PlayOptions::usage() {
    return "Usage: corvane play SCENE [KEYFRAMES] [--media DIR]... [--capture DIR [--every N]]\n"
           "                    [--frames N] [--fixed-step SECONDS] [--sounds FILE]\n"
           "\n"
           "Plays a dotScene file (.scene, or .xml as some exporters name it) with the viewer,\n"
           "the user interface, the playback and the sound, without a configuration file or\n"
           "folder of your own. Meshes, materials, skeletons and textures are looked for by\n"
           "their names in the scene's folder and every folder below it, and in each --media\n"
           "folder with its subfolders. The script is KEYFRAMES, else keyframes.xml beside\n"
           "the scene when there is one, else nothing is scripted. Your files are read where\n"
           "they are, and an edited script is loaded again while it plays. Playback starts\n"
           "playing; the camera starts where the scene's first camera is, or else shows the\n"
           "whole scene from in front and above.\n"
           "\n"
           "Keys: Esc the menu (pause, resume), F1 every key, Q twice to exit, 5 the\n"
           "script's camera or a free one; with the menu open, O looping, R from the start.\n"
           "The timeline: Left and Right 5 s back and forward, Home and End the start and\n"
           "the end, [ and ] slower and faster, comma and period a frame back and forward\n"
           "while paused; a click or drag on the time bar goes there, a click on a keyframe's\n"
           "tick to its time. Staging: I and P set the in and out point (playing repeats the\n"
           "range with looping on, else pauses at its end), X clears them, K writes the free\n"
           "camera into the script as a CAMERA keyframe at the current time (the script as it\n"
           "was is kept as KEYFRAMES.bak). The free camera, while playing: W, A, S, D or Up,\n"
           "Down to fly, Page Up and Page Down to rise and sink, the right mouse button held\n"
           "to look around, the wheel for a faster or slower flight, Shift held for five\n"
           "times the speed.\n"
           "\n"
           "  --media DIR          another folder of meshes, materials, skeletons, textures,\n"
           "                       sounds\n"
           "  --capture DIR        write the window's frames into DIR as numbered PNG files\n"
           "  --every N            with --capture: every N-th frame only (default 1)\n"
           "  --frames N           stop after N frames (a run without a window ends no other\n"
           "                       way but Ctrl-C)\n"
           "  --fixed-step SECONDS give every frame this elapsed time, as for a video (from\n"
           "                       0.000001 to 10)\n"
           "  --sounds FILE        the sounds of the Sound plug-in of a host configuration;\n"
           "                       without it a sound is the .wav, .ogg or .flac file of its\n"
           "                       name in the scene's folders or the media folders\n"
           "  --help               show this text\n"
           "\n"
           "Without a display, it starts a virtual X server of its own (Xvfb, Debian package\n"
           "xvfb) so that --capture still writes frames. Nothing is written into your\n"
           "folders but the --capture folder: what the plug-ins need is laid out in\n"
           "${XDG_CACHE_HOME:-~/.cache}/corvane/play.\n"
           "\n"
           "Exit status: 0 the run ended, 1 bad command line, 2 a scene, script or media\n"
           "folder cannot be read, 3 the plug-ins or their runtime folder cannot be set up,\n"
           "4 a plug-in did not start (also: no display and no Xvfb), 5 a plug-in call\n"
           "threw, 6 the frames could not be written, 7 the display went away, 128 + N\n"
           "stopped by signal N.\n";
}

} // namespace corvane
