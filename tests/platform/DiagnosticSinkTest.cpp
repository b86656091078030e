#include <gtest/gtest.h>

#include "platform/DiagnosticSink.h"

namespace corvane {
namespace {

// Within a load the first of identical lines is written at once and the rest counted at its
// end; outside one, and what only checks hear of, as they come.
TEST(StandardErrorSink, CountsIdenticalLinesOfOneLoad) {
    StandardErrorSink sink;
    const auto line = [](const char* message, bool checkOnly = false) {
        Diagnostic diagnostic;
        diagnostic.file = "a.material";
        diagnostic.line = 9;
        diagnostic.origin = "ScriptDefinitions::handleError()";
        diagnostic.message = message;
        diagnostic.layout = Diagnostic::Layout::FILE_LINE;
        diagnostic.checkOnly = checkOnly;
        return diagnostic;
    };
    ::testing::internal::CaptureStderr();
    {
        const DiagnosticSink::Load load(sink);
        sink.report(line("token"));
        {
            const DiagnosticSink::Load inner(sink);
            sink.report(line("other"));
            sink.report(line("token"));
        }
        sink.report(line("token"));
        sink.report(line("quiet", true));
    }
    sink.report(line("other"));
    sink.report(line("other"));
    const std::string at = "ScriptDefinitions::handleError(): a.material:9: ";
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), at + "token\n" + at + "other\n" + at +
                                                            "token (3 times)\n" + at + "other\n" +
                                                            at + "other\n");
}

} // namespace
} // namespace corvane
