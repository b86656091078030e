#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "framework/IGuiProgressBar.h"
#include "services/interface/OverlayGuiElement.h"

namespace corvane {

// The time bar: an element that also answers IGuiProgressBar. The share is shown by the
// width of its "<name>/Fill" child, a fraction of the bar's own width, and by where its
// "<name>/Handle" child stands. The service takes clicks and drags on it as seeks, and
// draws on it the playback's time and length ("<name>/Readout"), a tick above it for each
// keyframe, the label of the tick pointed at ("<name>/Tip") and the range that plays
// ("<name>/Range").
class TimeBarElement final : public OverlayGuiElement, public IGuiProgressBar {
public:
    // A keyframe's tick: its time, where it stands (0 to 1 of the bar), its kind
    // (IPlaybackStaging::MarkerKind) and its label.
    struct Mark {
        float seconds = 0.0f;
        float fraction = 0.0f;
        std::uint32_t kind = 0;
        std::string label;
    };

    explicit TimeBarElement(Ogre::OverlayElement* element);

    HRESULT QueryInterface(const UUID& iid, void** out) override;
    std::int32_t AddRef() override;
    std::int32_t Release() override;

    float getProgress() override;
    void setCaption(const std::string& caption) override;
    void setProgress(float percent) override;

    // Whether a place (fractions of the window) is on the bar, or close enough above or
    // below it to grab it, while it is shown.
    bool grabbedAt(float x, float y) const;
    // The share of the bar left of `x` (a fraction of the window), 0 to 1.
    float fractionAt(float x) const;

    // The ticks of the keyframes: those of one kind that would stand on the same few
    // pixels are drawn as one.
    void setMarks(std::vector<Mark> marks);
    // The keyframes whose tick is within reach of a place (fractions of the window), the
    // nearest first; none while the bar is hidden.
    std::vector<const Mark*> marksAt(float x, float y) const;
    // The label over the bar at `x` (a fraction of the window); hidden for an empty one.
    void showTip(const std::string& text, float x);
    // The range from `in` to `out` (fractions of the bar); hidden when `in` is above `out`.
    void showRange(float in, float out);
    void setReadout(const std::string& text);

    // Colours of the ticks, by kind.
    static const char* const MARK_MATERIALS[4];

private:
    Ogre::OverlayElement* child(const char* suffix) const;
    // The tick panel `index`, made when first needed.
    Ogre::OverlayElement* tick(std::size_t index);

    float progress = 0.0f;
    std::vector<Mark> marks;
    std::vector<Ogre::OverlayElement*> ticks;
    std::string readout;
    std::optional<std::pair<float, float>> shownRange;
};

} // namespace corvane
