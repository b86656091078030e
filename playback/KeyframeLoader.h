#pragma once

#include <string>

#include "playback/Keyframe.h"

class TiXmlDocument;
class TiXmlElement;

namespace corvane {

// Reads a keyframe script:
//   <keyframes>
//     <keyframe entity="entity_door" time="2.0">
//       <position x= y= z=/> <velocity .../> <velocitytarget .../>
//       <orientation w= x= y= z=/> <slerp w= x= y= z= multiplier=/>
//       <animation name="open" type="PLAY" value="1.0"/> ...
//     </keyframe> ...
//   </keyframes>
// Every attribute is optional: an absent decimal reads as 0, an absent element keeps the
// keyframe's default. Bad parts get one diagnostic line each and are skipped alone.
class KeyframeLoader {
public:
    // Adds the keyframes of the file to `keyframes`. A missing file adds nothing, silently;
    // a file that cannot be read or parsed adds nothing and gets one line. False in both.
    static bool load(const std::string& fileName, KeyframeMap& keyframes);
    // Adds the keyframes of a parsed document; `fileName` only names it in diagnostics.
    static void read(const TiXmlDocument& document, const std::string& fileName,
                     KeyframeMap& keyframes);

private:
    // False, with one line, for a keyframe whose time is not a finite number: such a key
    // would break the ordering of the keyframe maps.
    static bool readTime(const TiXmlElement& element, const std::string& fileName, float& time);
    static Keyframe readKeyframe(const TiXmlElement& element, float time,
                                 const std::string& fileName);
};

} // namespace corvane
