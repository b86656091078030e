// Linked into every test program of a sanitizer build (CORVANE_SANITIZE), so that the
// programs need nothing in their environment.
#include <algorithm>
#include <dlfcn.h>
#include <initializer_list>
#include <string>

extern "C" {

// The engine's PNG codec frees the image library's malloc'd buffers with delete[]:
// harmless with glibc, but the address sanitizer would stop every test that loads a
// texture.
const char* __asan_default_options() {
    return "alloc_dealloc_mismatch=0";
}

const char* __ubsan_default_options() {
    return "print_stacktrace=1:halt_on_error=1";
}

// The engine leaks the archive object of a zip location that it cannot open (the location
// tests give it such ones on purpose).
const char* __lsan_default_suppressions() {
    return "leak:Ogre::ZipArchiveFactory::createInstance\n";
}

} // extern "C"

namespace {

// Mesa's driver is unloaded when the engine closes its GL context; the memory that only
// the driver's own globals still reach then reads as leaked, with frames that can no
// longer be named. Held open to the end, the driver's memory stays reachable and leak
// checking stays on for everything else.
// FFmpeg's libraries, which the frame capture plug-in brings and takes with it, keep
// tables made on first use in their globals alike.
struct KeepLibrariesLoaded {
    KeepLibrariesLoaded() {
        for (const char* library : {CORVANE_GL_DRIVER, "libGLX_mesa.so.0"})
            dlopen(library, RTLD_LAZY | RTLD_GLOBAL | RTLD_NODELETE);
        const std::string ffmpeg = CORVANE_FFMPEG_LIBRARIES;
        for (std::size_t start = 0; start < ffmpeg.size();) {
            const std::size_t end = std::min(ffmpeg.find(':', start), ffmpeg.size());
            dlopen(ffmpeg.substr(start, end - start).c_str(),
                   RTLD_LAZY | RTLD_GLOBAL | RTLD_NODELETE);
            start = end + 1;
        }
    }
} keepLibrariesLoaded;

} // namespace
