#pragma once

#include "framework/IUnknown.h"

namespace corvane {

// A sound of a sound bank that can be played from a point after its beginning, as a film's
// range that begins while the sound plays needs it. Id
// {5915D072-7EE9-4328-ADD0-978D72B14603}, asked of an ISound; a sound that does not serve it
// cannot be joined in its middle.
class ISoundSeek : public IUnknown {
public:
    // Slot 3: plays the sound from `seconds` after its beginning, also when it is playing;
    // stops it when it is no longer than that.
    virtual void playFrom(double seconds) = 0;

protected:
    ~ISoundSeek() = default;
};

} // namespace corvane
