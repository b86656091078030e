#pragma once

#include <string>
#include <string_view>

namespace corvane {

// A file that appears under its name only once it is whole: written under a temporary
// name in the same folder, flushed to the disk, then renamed over its name in one step.
// A reader (a video encoder, a render farm's check) never finds half a file there, and a
// write that fails (a full disk, a folder that went away, no permission) is told with the
// system's reason instead of leaving an empty or short file behind.
class OutputFile {
public:
    explicit OutputFile(std::string path);
    // Removes the temporary file unless it was committed.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Appends `bytes`; the temporary file is made at the first call. False, with the
    // system's reason in `error` ("No space left on device"), when the write fails, and at
    // every call after that.
    bool write(std::string_view bytes, std::string& error);
    // Flushes what was written to the disk and gives it its name. False with the reason;
    // the name then keeps what it held before.
    bool commit(std::string& error);

    // `bytes` as the whole of the file `path`: write() and commit() in one.
    static bool writeWhole(const std::string& path, std::string_view bytes, std::string& error);

    // A hidden name beside `path`, new at each call, for a file written whole before it is
    // renamed over `path`: a reader listing the folder for its files passes it over
    // (".frame_000001.png.3f2a9c01.part").
    static std::string temporaryName(const std::string& path);

private:
    bool fail(std::string& error);
    void discard();

    std::string finalPath;
    std::string temporaryPath;
    int descriptor = -1;
    bool failed = false;
    std::string reason;
};

} // namespace corvane
