#pragma once

#include <string>

#include "framework/IUnknown.h"

namespace corvane {

class ISound;

// Sounds by name. Id {2BE2B00B-8808-40ED-B029-5CF0A5CEEAC5}.
class ISoundBank : public IUnknown {
public:
    // Slot 3: the sound of that name, owned by the bank; null when there is none.
    virtual ISound* findSound(const std::string& name) = 0;

protected:
    ~ISoundBank() = default;
};

} // namespace corvane
