#pragma once

#include <string>
#include <string_view>

namespace corvane {

// The system's own words for what went wrong, and writes that go on until every byte is
// written: what the checked files, the folder locks and the diagnostic channel share.
class SystemError {
public:
    // The system's text for the error number `error`: "No space left on device".
    static std::string reason(int error);
    // Writes every byte of `bytes` to `descriptor`, going on after an interruption or a
    // partial write; false, with errno set, when the system refuses a write.
    static bool writeAll(int descriptor, std::string_view bytes);
};

} // namespace corvane
