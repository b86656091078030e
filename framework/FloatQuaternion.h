#pragma once

namespace corvane {

// An orientation crossing plug-in boundaries without the engine's types; w comes first.
struct FloatQuaternion {
    float w;
    float x;
    float y;
    float z;
};

} // namespace corvane
