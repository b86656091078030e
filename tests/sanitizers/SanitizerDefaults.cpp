// Linked into every test program of a sanitizer build (CORVANE_SANITIZE), so that the
// programs need nothing in their environment.
#include <dlfcn.h>
#include <initializer_list>

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
struct KeepGlDriverLoaded {
    KeepGlDriverLoaded() {
        for (const char* library : {CORVANE_GL_DRIVER, "libGLX_mesa.so.0"})
            dlopen(library, RTLD_LAZY | RTLD_GLOBAL | RTLD_NODELETE);
    }
} keepGlDriverLoaded;

} // namespace
