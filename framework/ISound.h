#pragma once

#include "framework/IUnknown.h"

namespace corvane {

// One sound of a sound bank, owned by the bank and never released by callers.
class ISound : public IUnknown {
public:
    // Slot 3: plays the sound from its beginning, also when it is playing.
    virtual void play() = 0;
    // Slot 4: stops the sound.
    virtual void stop() = 0;
    // Slot 5: whether the sound is playing.
    virtual bool isPlaying() = 0;

protected:
    ~ISound() = default;
};

} // namespace corvane
