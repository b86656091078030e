#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class TiXmlNode;

// Shared by the fuzz targets: each defines LLVMFuzzerTestOneInput; libFuzzer calls it in
// the fuzz build, the replay runner in the normal test suite.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace corvane::fuzz {

// Ends the process as a crash does, so that the fuzzer keeps the input: for a broken
// promise that no sanitizer would see.
[[noreturn]] void fail(const char* what);

// The input as text; the parsers read up to the first NUL, as they would from a file.
std::string text(const std::uint8_t* data, std::size_t size);

// The levels of elements the parser built under `node`: what the nesting depth test must
// never count fewer of.
std::size_t treeDepth(const TiXmlNode& node);

// A folder of the process's own under the temporary folder, made on first use.
const std::string& scratchFolder();
// Writes `text` to `name` in the scratch folder; returns its path.
std::string writeScratch(const std::string& name, const std::string& text);

} // namespace corvane::fuzz
