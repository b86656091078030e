#pragma once

#include <set>
#include <string>
#include <vector>

namespace corvane {

class ActionMap;
class IPlaybackTimeline;

// The timeline's input actions and what each asks of the playback, acted on in the frame
// in which the action goes down (a held key does not repeat):
//   SEEK_BACK, SEEK_FORWARD   5 s back or forward
//   SEEK_START, SEEK_END      to the start or the end of the script
//   SPEED_DOWN, SPEED_UP      one step down or up the speeds 1/4, 1/2, 1, 2 and 4
//   STEP_BACK, STEP_FORWARD   one frame back or forward, while paused
class TimelineKeys {
public:
    // The actions, in the order they are acted on within a frame.
    static const std::vector<std::string> ACTIONS;
    // Seconds of one seek back or forward.
    static constexpr float SEEK_SECONDS = 5.0f;

    // The timeline actions that went down since the last call, in the order of ACTIONS.
    std::vector<std::string> pressed(const ActionMap& actions);
    // What `action` does to the playback.
    static void perform(const std::string& action, IPlaybackTimeline& timeline);
    // The next speed up (`faster`) or down the steps from `speed`; the ends stay.
    static float nextSpeed(float speed, bool faster);

private:
    std::set<std::string> down;
};

} // namespace corvane
