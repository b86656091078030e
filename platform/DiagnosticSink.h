#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// One thing that a loader or a guard found wrong and skipped.
struct Diagnostic {
    enum class Severity { ERROR, WARNING };
    // Where the line on standard error names the file and the line, as each writer has
    // always written it.
    enum class Layout {
        MESSAGE,    // "ORIGIN: MESSAGE": the message names the file or the object itself
        FILE,       // "ORIGIN: FILE MESSAGE": the line is for checks, which show it
        FILE_LINE,  // "ORIGIN: FILE:LINE: MESSAGE"
        SCRIPT_ROW, // "ORIGIN: FILE row LINE: keyframe at TIME MESSAGE"
    };

    std::string file;   // the file it is about; empty when it is about an object
    int line = 0;       // its line in `file`; 0 when none is known
    std::string origin; // the operation that writes it: "SceneLoader::processEntity()"
    Severity severity = Severity::ERROR;
    std::string message; // what is wrong and what is skipped
    Layout layout = Layout::MESSAGE;
    // The time of the keyframe it is about, in a SCRIPT_ROW line.
    std::optional<float> time;
    // What a check of the files adds to the message, such as a known name near an unknown
    // one (" (did you mean \"PLAY\"?)"); the line at play leaves it out.
    std::string hint;
    // What play reads without a word (a number with trailing text reads as its leading
    // number): only a check of the files reports it.
    bool checkOnly = false;

    // The line as standard error shows it: the parts of the layout that are known.
    std::string text() const;
};

// Where the scene loader, the resource scripts, the keyframe loader and the guards send
// what they find wrong. The plug-in or tool that runs them owns the sink and hands it to
// them; a check of the files reads its findings from its own sink.
class DiagnosticSink {
public:
    virtual ~DiagnosticSink();

    virtual void report(const Diagnostic& diagnostic) = 0;
    // A line that lists what was found rather than anything wrong (the scene files of a
    // load); checks leave it out.
    virtual void list(std::string_view line) = 0;

    // `diagnostic` to `sink`, or to standard error when there is none.
    static void reportTo(DiagnosticSink* sink, const Diagnostic& diagnostic);

    // One load (a scene, the scripts of a resource group, a keyframe script), from
    // construction to destruction: identical lines of one load are counted, not repeated.
    // Loads may nest; the outermost one counts.
    class Load {
    public:
        explicit Load(DiagnosticSink& sink) : sink(sink) { sink.beginLoad(); }
        ~Load() { sink.endLoad(); }
        Load(const Load&) = delete;
        Load& operator=(const Load&) = delete;

    private:
        DiagnosticSink& sink;
    };

protected:
    virtual void beginLoad() {}
    virtual void endLoad() {}
};

// The default sink: each line on standard error (the diagnostic channel). Within a load the
// first of identical lines is written at once and the others are counted; when the load
// ends, each line that came more than once is written once more with its count:
//   ScriptDefinitions::handleError(): ../media/a.material:9: unexpected token ... (4 times)
class StandardErrorSink final : public DiagnosticSink {
public:
    void report(const Diagnostic& diagnostic) override;
    void list(std::string_view line) override;

private:
    void beginLoad() override;
    void endLoad() override;

    int depth = 0;
    // The lines of the running load, each with how often it came, in the order they came.
    std::map<std::string, std::size_t> counts;
    std::vector<const std::string*> order;
};

} // namespace corvane
