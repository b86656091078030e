#include "tests/support/VirtualScreen.h"

#include <cstdio>
#include <cstdlib>

#include "platform/ExecutablePath.h"
#include "platform/ProcessImage.h"

namespace corvane::testing {

void VirtualScreen::ensure(const std::string& program) {
    if (std::getenv("DISPLAY") != nullptr)
        return;
    const std::string xvfb = ProcessImage::find("xvfb-run");
    if (xvfb.empty()) {
        std::fprintf(stderr, "%s: needs a display, or xvfb-run to make one\n", program.c_str());
        return;
    }
    ProcessImage::replace(xvfb, {"-a", "-s", "-screen 0 1024x768x24", ExecutablePath::file()});
    std::fprintf(stderr, "%s: cannot run %s\n", program.c_str(), xvfb.c_str());
}

} // namespace corvane::testing
