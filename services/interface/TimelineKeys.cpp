#include "services/interface/TimelineKeys.h"

#include <iterator>

#include "framework/IPlaybackTimeline.h"
#include "services/interface/ActionMap.h"

namespace corvane {

namespace {

// Powers of two, so that a run at any of them replays exactly at the frames' step.
constexpr float SPEEDS[] = {0.25f, 0.5f, 1.0f, 2.0f, 4.0f};

} // namespace

const std::vector<std::string> TimelineKeys::ACTIONS = {"SEEK_BACK", "SEEK_FORWARD", "SEEK_START",
                                                        "SEEK_END",  "SPEED_DOWN",   "SPEED_UP",
                                                        "STEP_BACK", "STEP_FORWARD"};

std::vector<std::string> TimelineKeys::pressed(const ActionMap& actions) {
    std::vector<std::string> went;
    for (const std::string& action : ACTIONS) {
        const bool isDown = actions.value(action) > 0.0f;
        if (isDown && down.insert(action).second)
            went.push_back(action);
        else if (!isDown)
            down.erase(action);
    }
    return went;
}

void TimelineKeys::perform(const std::string& action, IPlaybackTimeline& timeline) {
    if (action == "SEEK_BACK")
        timeline.seekTo(timeline.getTime() - SEEK_SECONDS);
    else if (action == "SEEK_FORWARD")
        timeline.seekTo(timeline.getTime() + SEEK_SECONDS);
    else if (action == "SEEK_START")
        timeline.seekTo(0.0f);
    else if (action == "SEEK_END")
        timeline.seekTo(timeline.getLength());
    else if (action == "SPEED_DOWN" || action == "SPEED_UP")
        timeline.setSpeed(nextSpeed(timeline.getSpeed(), action == "SPEED_UP"));
    else if (action == "STEP_BACK" || action == "STEP_FORWARD")
        timeline.stepFrames(action == "STEP_FORWARD" ? 1 : -1);
}

float TimelineKeys::nextSpeed(float speed, bool faster) {
    if (faster) {
        for (float step : SPEEDS)
            if (step > speed)
                return step;
        return SPEEDS[std::size(SPEEDS) - 1];
    }
    for (auto step = std::rbegin(SPEEDS); step != std::rend(SPEEDS); ++step)
        if (*step < speed)
            return *step;
    return SPEEDS[0];
}

} // namespace corvane
