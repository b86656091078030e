#pragma once

#include <set>
#include <string>
#include <vector>

namespace corvane {

class ActionMap;
class IPlaybackStaging;
class IPlaybackTimeline;

// The timeline's and the staging's input actions and what each asks of the playback,
// acted on in the frame in which the action goes down (a held key does not repeat):
//   SEEK_BACK, SEEK_FORWARD   5 s back or forward
//   SEEK_START, SEEK_END      to the start or the end of the script
//   SPEED_DOWN, SPEED_UP      one step down or up the speeds 1/4, 1/2, 1, 2 and 4
//   STEP_BACK, STEP_FORWARD   one frame back or forward, while paused
//   SET_IN_POINT, SET_OUT_POINT, CLEAR_RANGE   the range that plays
//   RECORD_CAMERA_KEY         the free camera written into the script
//   EXIT                      while playing, the exit confirmation (with the menu open the
//                             playback reads the action itself)
class TimelineKeys {
public:
    // The actions of IPlaybackTimeline, then those of IPlaybackStaging, each list in the
    // order they are acted on within a frame.
    static const std::vector<std::string> ACTIONS;
    static const std::vector<std::string> STAGING_ACTIONS;
    // Seconds of one seek back or forward.
    static constexpr float SEEK_SECONDS = 5.0f;
    // The shortest single step the playback takes, seconds.
    static constexpr float STEP_SECONDS = 1.0f / 30.0f;

    // The timeline actions that went down since the last call, in the order of ACTIONS.
    std::vector<std::string> pressed(const ActionMap& actions);
    // What `action` does to the playback; false for an action of the other interface.
    static bool perform(const std::string& action, IPlaybackTimeline& timeline);
    static bool perform(const std::string& action, IPlaybackStaging& staging);
    // The next speed up (`faster`) or down the steps from `speed`; the ends stay.
    static float nextSpeed(float speed, bool faster);
    // The time bar's readout: "TIME / LENGTH s   frame N", seconds with two decimals, the
    // frame counted in steps of `step` seconds.
    static std::string readout(float time, float length, float step);

private:
    std::set<std::string> down;
};

} // namespace corvane
