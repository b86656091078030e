#include "platform/StandardErrorCapture.h"

#include <unistd.h>

namespace corvane {

StandardErrorCapture::StandardErrorCapture() {
    // A file rather than a pipe: nothing has to read while the captured code writes.
    file = std::tmpfile();
    if (file == nullptr)
        return;
    std::fflush(stderr);
    savedDescriptor = ::dup(STDERR_FILENO);
    if (savedDescriptor < 0 || ::dup2(::fileno(file), STDERR_FILENO) < 0) {
        if (savedDescriptor >= 0)
            ::close(savedDescriptor);
        savedDescriptor = -1;
        std::fclose(file);
        file = nullptr;
    }
}

StandardErrorCapture::~StandardErrorCapture() {
    finish();
}

std::string StandardErrorCapture::finish() {
    if (file == nullptr)
        return {};
    std::fflush(stderr);
    ::dup2(savedDescriptor, STDERR_FILENO);
    ::close(savedDescriptor);
    savedDescriptor = -1;
    std::string text;
    std::rewind(file);
    char buffer[4096];
    for (std::size_t read; (read = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        text.append(buffer, read);
    std::fclose(file);
    file = nullptr;
    return text;
}

} // namespace corvane
