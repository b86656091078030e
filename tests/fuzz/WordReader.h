#pragma once

#include <cstddef>
#include <string>
#include <utility>

#include "framework/FloatQuaternion.h"
#include "framework/FloatVector3.h"

namespace corvane::fuzz {

// The words of a fuzzer's text, separated by white space, read one by one: names as they
// stand ("-" is the empty name) and numbers as the C library reads them ("2.5", "-inf",
// "nan", "1e-30", hexadecimal; a word that is no number reads as 0). Past the last word,
// every word is empty and every number 0.
class WordReader {
public:
    explicit WordReader(std::string text) : text(std::move(text)) {}

    bool done();
    std::string word();
    std::string name();
    double number();
    float real() { return static_cast<float>(number()); }
    // A count from 0 to `most`.
    int count(int most);
    FloatVector3 vector();
    // w, x, y, z.
    FloatQuaternion quaternion();

private:
    std::string text;
    std::size_t at = 0;
};

} // namespace corvane::fuzz
