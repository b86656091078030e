#include "tests/fuzz/WordReader.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

namespace corvane::fuzz {

namespace {

bool isSpace(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

} // namespace

bool WordReader::done() {
    while (at < text.size() && isSpace(text[at]))
        ++at;
    return at >= text.size();
}

std::string WordReader::word() {
    if (done())
        return {};
    const std::size_t start = at;
    while (at < text.size() && !isSpace(text[at]))
        ++at;
    return text.substr(start, at - start);
}

std::string WordReader::name() {
    std::string read = word();
    return read == "-" ? std::string() : read;
}

double WordReader::number() {
    return std::strtod(word().c_str(), nullptr);
}

int WordReader::count(int most) {
    const double read = number();
    return read > 0.0 ? static_cast<int>(std::fmin(read, most)) : 0;
}

FloatVector3 WordReader::vector() {
    const float x = real();
    const float y = real();
    return {x, y, real()};
}

FloatQuaternion WordReader::quaternion() {
    const float w = real();
    const float x = real();
    const float y = real();
    return {w, x, y, real()};
}

} // namespace corvane::fuzz
