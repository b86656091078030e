#pragma once

#include <string>

namespace corvane::testing {

// Files saved as UTF-16, as some editors and exporters on other systems write them.
class Utf16Text {
public:
    // `text` as UTF-16 bytes after a byte-order mark, little end first unless `bigEndian`.
    static std::string encode(const std::u16string& text, bool bigEndian = false);
};

} // namespace corvane::testing
