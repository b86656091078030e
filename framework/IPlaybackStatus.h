#pragma once

#include "framework/IUnknown.h"

namespace corvane {

// The playback controller's state, offered to other plug-ins.
// Id {14AB70CB-5726-4C96-A47B-6F5286E4D894}.
class IPlaybackStatus : public IUnknown {
public:
    // Slot 3: true while the camera follows the script or the escape menu is open.
    virtual bool isMenuOrAutoCamera() = 0;

protected:
    ~IPlaybackStatus() = default;
};

} // namespace corvane
