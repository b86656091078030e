#pragma once

#include <string>

namespace corvane::testing {

// A fresh folder under the system's temporary folder, removed with everything in it when
// the object goes.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::string& path() const { return folder; }
    // Writes `text` into the file at `relative` (folders made as needed); returns its path.
    std::string write(const std::string& relative, const std::string& text) const;
    // The whole content of a file, empty when it cannot be read.
    static std::string read(const std::string& path);

private:
    std::string folder;
};

// Runs a scope with the current directory switched, switching back at its end.
class CurrentDirectoryScope {
public:
    explicit CurrentDirectoryScope(const std::string& path);
    ~CurrentDirectoryScope();

private:
    std::string previous;
};

} // namespace corvane::testing
