#pragma once

#include <OgreScriptCompiler.h>
#include <string>

#include "platform/DiagnosticSink.h"

namespace corvane {

// Listens to the engine's script compiler while ResourceScripts parses one script. The
// compiler translates a script's definitions (materials, particle systems, fonts,
// overlays, ...) in one loop and stops at the first that throws: a name defined a second
// time, an emitter or affector type no plug-in brought, an overlay element's missing
// material. Here each definition is translated in its own try, so that a faulty one costs
// only itself: one diagnostic line naming the file and the line, and what it made half is
// taken away again. The compiler's own error reports become diagnostic lines too.
class ScriptDefinitions : public Ogre::ScriptCompilerListener {
public:
    // Lines go to `sink`, which must outlive this.
    explicit ScriptDefinitions(DiagnosticSink& sink);

    // The script the compiler reads next: `shown` names it in diagnostic lines (location
    // and file), `file` is the name the compiler knows it by.
    void setScript(const std::string& shown, const std::string& file);

    // Translates every definition on its own; the compiler then has nothing left to do.
    bool postConversion(Ogre::ScriptCompiler* compiler,
                        const Ogre::AbstractNodeListPtr& nodes) override;
    // One line per error; old spellings that still work stay in the engine's log only.
    void handleError(Ogre::ScriptCompiler* compiler, Ogre::uint32 code, const Ogre::String& file,
                     int line, const Ogre::String& message) override;

private:
    void translate(Ogre::ScriptCompiler* compiler, const Ogre::AbstractNodePtr& node);
    // One line "ORIGIN: location/file:line: MESSAGE" for a place the compiler names.
    void report(const char* origin, const std::string& file, unsigned line,
                std::string message) const;

    DiagnosticSink& sink;

    std::string shownName;
    std::string fileName;
};

} // namespace corvane
