#pragma once

#include <string>

#include "framework/IUnknown.h"

namespace corvane {

// The progress side of the time bar element, got with its QueryInterface.
// Id {4C148809-B2BF-4A54-A20F-38D128AE7FC8}.
class IGuiProgressBar : public IUnknown {
public:
    // Slot 3: the shown share, in percent.
    virtual float getProgress() = 0;
    // Slot 4: the text written over the bar.
    virtual void setCaption(const std::string& caption) = 0;
    // Slot 5: the shown share, in percent; values outside 0 to 100 are shown clamped.
    virtual void setProgress(float percent) = 0;

protected:
    ~IGuiProgressBar() = default;
};

} // namespace corvane
