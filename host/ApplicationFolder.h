#pragma once

#include <string>

namespace corvane {

class FolderLock;

// An application folder made for a run from the runtime folder (the build's, or the
// installed one): the viewer's start directory with the engine's plug-in list and window
// configuration, and the core resources. It holds none of the user's files, so one folder
// serves every run, one run at a time: the engine's log is written there.
//
//   <folder>/plugins/SceneViewer_Release/plugins.cfg, ogre.cfg
//   <folder>/plugins/OgreCore/OgreCore.zip
class ApplicationFolder {
public:
    // The runtime folder that goes with a host in `hostFolder`: <host>/../runtime in the
    // build tree, <host>/../share/corvane/runtime installed; empty when neither holds the
    // files.
    static std::string findRuntime(const std::string& hostFolder);
    // Makes `folder` hold the runtime folder's files. A file that differs from the runtime
    // folder's is replaced whole, so that a run starting meanwhile never reads half of one.
    // False, with the reason in `error`, when a file cannot be read or written.
    static bool layOut(const std::string& runtime, const std::string& folder, std::string& error);
    // The first of `base`, `base`-2, `base`-3, ... that no other run holds, made and locked
    // with `lock` for this run, so that runs side by side never write one engine log.
    // Empty, with the reason in `error`, when one cannot be made or written into.
    static std::string claim(const std::string& base, FolderLock& lock, std::string& error);
};

} // namespace corvane
