#pragma once

#include <string>

#include "playback/Keyframe.h"

namespace corvane {

class DiagnosticSink;

// Reads a keyframe script:
//   <keyframes>
//     <keyframe entity="entity_door" time="2.0">
//       <position x= y= z=/> <velocity .../> <velocitytarget .../>
//       <orientation w= x= y= z=/> <slerp w= x= y= z= multiplier=/>
//       <animation name="open" type="PLAY" value="1.0"/> ...
//     </keyframe> ...
//   </keyframes>
// Every attribute is optional: an absent decimal reads as 0, an absent element keeps the
// keyframe's default. An orientation or slerp target of length zero (an empty
// <orientation/> among them) reads as the identity. Bad parts go to the diagnostic sink,
// one line each (a name the format does not know once per load), and are skipped alone;
// the overload without a sink writes them to standard error. Each call is one load.
class KeyframeLoader {
public:
    // Adds the keyframes of the file to `keyframes`. A missing file adds nothing, silently;
    // a file that cannot be read or parsed adds nothing and is one problem (naming where an
    // element it left open begins). False in both.
    static bool load(const std::string& fileName, KeyframeMap& keyframes);
    static bool load(const std::string& fileName, KeyframeMap& keyframes, DiagnosticSink& sink);
};

} // namespace corvane
