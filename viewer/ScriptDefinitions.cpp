#include "viewer/ScriptDefinitions.h"

#include <OgreFontManager.h>
#include <OgreMaterialManager.h>
#include <OgreOverlayManager.h>
#include <OgreParticleSystemManager.h>
#include <OgreScriptTranslator.h>

#include "platform/DebugOutput.h"

namespace corvane {

namespace {

// The kinds of definition that are known by name: one defined before is named as such, and
// the half-made remains of one whose translation failed are taken away again (a half
// particle system would make systems without their emitters, a half overlay would show
// part of itself).
struct Kind {
    const char* type;
    bool (*exists)(const std::string& name, const std::string& group);
    void (*remove)(const std::string& name, const std::string& group);
};

template <class Manager>
bool resourceExists(const std::string& name, const std::string& group) {
    return Manager::getSingleton().resourceExists(name, group);
}

template <class Manager>
void removeResource(const std::string& name, const std::string& group) {
    Manager::getSingleton().remove(name, group);
}

bool templateExists(const std::string& name, const std::string&) {
    return Ogre::ParticleSystemManager::getSingleton().getTemplate(name) != nullptr;
}

void removeTemplate(const std::string& name, const std::string&) {
    Ogre::ParticleSystemManager::getSingleton().removeTemplate(name);
}

bool overlayExists(const std::string& name, const std::string&) {
    return Ogre::OverlayManager::getSingleton().getByName(name) != nullptr;
}

void removeOverlay(const std::string& name, const std::string&) {
    Ogre::OverlayManager::getSingleton().destroy(name);
}

const Kind kinds[] = {
    {"material", resourceExists<Ogre::MaterialManager>, removeResource<Ogre::MaterialManager>},
    {"font", resourceExists<Ogre::FontManager>, removeResource<Ogre::FontManager>},
    {"particle_system", templateExists, removeTemplate},
    {"overlay", overlayExists, removeOverlay},
};

const Kind* kindOf(const std::string& type) {
    for (const Kind& kind : kinds)
        if (type == kind.type)
            return &kind;
    return nullptr;
}

} // namespace

ScriptDefinitions::ScriptDefinitions(DiagnosticSink& sink) : sink(sink) {}

void ScriptDefinitions::setScript(const std::string& shown, const std::string& file) {
    shownName = shown;
    fileName = file;
}

bool ScriptDefinitions::postConversion(Ogre::ScriptCompiler* compiler,
                                       const Ogre::AbstractNodeListPtr& nodes) {
    for (const Ogre::AbstractNodePtr& node : *nodes) {
        // Abstract definitions are only there to be inherited from.
        if (node->type == Ogre::ANT_OBJECT &&
            static_cast<const Ogre::ObjectAbstractNode&>(*node).abstract)
            continue;
        translate(compiler, node);
    }
    return false;
}

void ScriptDefinitions::translate(Ogre::ScriptCompiler* compiler,
                                  const Ogre::AbstractNodePtr& node) {
    Ogre::ScriptTranslator* translator =
        Ogre::ScriptCompilerManager::getSingleton().getTranslator(node);
    if (translator == nullptr) {
        // The compiler itself reports an object of a kind it does not know, not a stray
        // property between the definitions.
        if (node->type == Ogre::ANT_PROPERTY)
            report("ScriptDefinitions::translate()", node->file, node->line,
                   "\"" + node->getValue() + "\" is no definition the engine knows; it is skipped");
        return;
    }
    std::string name;
    const Kind* kind = nullptr;
    bool existed = false;
    const std::string& group = compiler->getResourceGroup();
    if (node->type == Ogre::ANT_OBJECT) {
        name = static_cast<const Ogre::ObjectAbstractNode&>(*node).name;
        kind = kindOf(node->getValue());
        existed = kind != nullptr && kind->exists(name, group);
    }
    try {
        translator->translate(compiler, node);
    } catch (const Ogre::Exception& error) {
        const std::string definition = node->getValue() + " \"" + name + "\" is ";
        if (existed) {
            report("ScriptDefinitions::translate()", node->file, node->line,
                   definition + "defined already; the first definition stays");
            return;
        }
        if (kind != nullptr && kind->exists(name, group))
            kind->remove(name, group);
        report("ScriptDefinitions::translate()", node->file, node->line,
               definition + "skipped: " + DebugOutput::oneLine(error.getDescription()));
    }
}

void ScriptDefinitions::handleError(Ogre::ScriptCompiler* compiler, Ogre::uint32 code,
                                    const Ogre::String& file, int line,
                                    const Ogre::String& message) {
    if (code == Ogre::ScriptCompiler::CE_DEPRECATEDSYMBOL) {
        Ogre::ScriptCompilerListener::handleError(compiler, code, file, line, message);
        return;
    }
    report("ScriptDefinitions::handleError()", file, static_cast<unsigned>(line),
           Ogre::ScriptCompiler::formatErrorCode(code) +
               (message.empty() ? "" : ": " + DebugOutput::oneLine(message)));
}

void ScriptDefinitions::report(const char* origin, const std::string& file, unsigned line,
                               std::string message) const {
    Diagnostic diagnostic;
    diagnostic.file = file == fileName ? shownName : file;
    diagnostic.line = static_cast<int>(line);
    diagnostic.origin = origin;
    diagnostic.message = std::move(message);
    diagnostic.layout = Diagnostic::Layout::FILE_LINE;
    sink.report(diagnostic);
}

} // namespace corvane
