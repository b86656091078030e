#include "services/interface/TimelineKeys.h"

#include <cmath>
#include <cstdio>
#include <iterator>

#include "framework/IPlaybackStaging.h"
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

const std::vector<std::string> TimelineKeys::STAGING_ACTIONS = {
    "SET_IN_POINT", "SET_OUT_POINT", "CLEAR_RANGE", "RECORD_CAMERA_KEY", "EXIT"};

std::vector<std::string> TimelineKeys::pressed(const ActionMap& actions) {
    std::vector<std::string> went;
    for (const auto* list : {&ACTIONS, &STAGING_ACTIONS})
        for (const std::string& action : *list) {
            const bool isDown = actions.value(action) > 0.0f;
            if (isDown && down.insert(action).second)
                went.push_back(action);
            else if (!isDown)
                down.erase(action);
        }
    return went;
}

bool TimelineKeys::perform(const std::string& action, IPlaybackStaging& staging) {
    if (action == "SET_IN_POINT")
        staging.setInPoint();
    else if (action == "SET_OUT_POINT")
        staging.setOutPoint();
    else if (action == "CLEAR_RANGE")
        staging.clearRange();
    else if (action == "RECORD_CAMERA_KEY")
        staging.recordCameraKey();
    else if (action == "EXIT")
        staging.requestExit();
    else
        return false;
    return true;
}

std::string TimelineKeys::readout(float time, float length, float step) {
    const long frame = step > 0.0f ? std::lround(time / step) : 0;
    char text[96];
    std::snprintf(text, sizeof(text), "%.2f / %.2f s   frame %ld", static_cast<double>(time),
                  static_cast<double>(length), frame);
    return text;
}

bool TimelineKeys::perform(const std::string& action, IPlaybackTimeline& timeline) {
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
    else
        return false;
    return true;
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
