#pragma once

namespace corvane {

// A vector crossing plug-in boundaries without the engine's types.
struct FloatVector3 {
    float x;
    float y;
    float z;
};

} // namespace corvane
