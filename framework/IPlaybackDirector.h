#pragma once

#include "framework/IUnknown.h"

namespace corvane {

// The playback controller's primary interface, also answered for the IUnknown id.
// Id {177D0922-247F-4AA5-8822-0C7FD2AE6A63}; the controller object's start.
class IPlaybackDirector : public IUnknown {
public:
    // Slot 3: the object is static and destroyed only with its library.
    virtual ~IPlaybackDirector() = default;
};

} // namespace corvane
