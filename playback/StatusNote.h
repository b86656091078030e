#pragma once

#include <string>

#include "playback/PlaybackProviders.h"

namespace corvane {

// The playback's own notes on the status line, for what a staging key did (a range set, a
// keyframe recorded, or why not): shown for SECONDS of frames, then cleared.
class StatusNote {
public:
    explicit StatusNote(PlaybackProviders& providers) : providers(providers) {}

    void show(const std::string& text);
    // Clears the note once its time is up.
    void advance(float seconds);

    static constexpr float SECONDS = 6.0f;

private:
    void write(const std::string& text);

    PlaybackProviders& providers;
    float left = 0.0f; // seconds the note stays; 0 when none is shown
};

} // namespace corvane
