// fuzz_keyframes: any text as "keyframes.xml", read by the playback director's loader.
// Besides the sanitizers' findings it fails when a keyframe gets stored with a time, a
// transform or an action value that is not finite, a turn of length zero or an action without a
// known type, and when the nesting depth test counts fewer levels than the parser builds (the
// loader relies on it to refuse texts that would overflow the stack).
#include <cmath>
#include <tinyxml.h>

#include "framework/XmlNestingDepth.h"
#include "framework/XmlReader.h"
#include "playback/KeyframeLoader.h"
#include "tests/fuzz/FuzzTarget.h"

using namespace corvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = fuzz::text(data, size);
    std::string storage;
    const std::size_t counted = XmlNestingDepth::of(XmlReader::prepare(text, storage));
    if (counted <= XmlNestingDepth::LIMIT) {
        TiXmlDocument document;
        XmlReader::parse(text, document);
        if (fuzz::treeDepth(document) > counted)
            fuzz::fail("the nesting depth counted fewer levels than the parser built");
    }

    KeyframeMap keyframes;
    KeyframeLoader::load(fuzz::writeScratch("keyframes.xml", text), keyframes);
    for (const auto& [time, keyframe] : keyframes) {
        if (!std::isfinite(time))
            fuzz::fail("a keyframe was stored under a time that is not finite");
        const Keyframe& k = keyframe;
        for (float value :
             {k.position.x, k.position.y, k.position.z, k.velocity.x, k.velocity.y, k.velocity.z,
              k.velocityTarget.x, k.velocityTarget.y, k.velocityTarget.z, k.orientation.w,
              k.orientation.x, k.orientation.y, k.orientation.z, k.slerpTarget.w, k.slerpTarget.x,
              k.slerpTarget.y, k.slerpTarget.z, k.multiplier})
            if (!std::isfinite(value))
                fuzz::fail("a keyframe was stored with a transform that is not finite");
        for (const FloatQuaternion& q : {k.orientation, k.slerpTarget})
            if (q.w == 0.0f && q.x == 0.0f && q.y == 0.0f && q.z == 0.0f)
                fuzz::fail("a keyframe was stored with a turn of length zero");
        for (const KeyframeAction& action : keyframe.actions) {
            if (!std::isfinite(action.value))
                fuzz::fail("an action was stored with a value that is not finite");
            const auto code = static_cast<std::int32_t>(action.code);
            if (code < 0 || code > static_cast<std::int32_t>(KeyframeActionType::StatusText))
                fuzz::fail("an action was stored without a known type");
        }
    }
    return 0;
}
