#pragma once

namespace corvane {

// Turns the text of a scene file's number attribute into a float. It yields exactly what
// Ogre::StringConverter::parseReal yields for the same text (leading white space, signs,
// exponents, trailing characters, hexadecimal, "nan" and "inf" alike), without building a
// string per number: plain decimal texts are read in place, everything else goes to the
// engine's own reader.
class RealReader {
public:
    // `text` may be null, which reads like the empty text: 0.
    static float parse(const char* text);
};

} // namespace corvane
