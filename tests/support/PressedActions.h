#pragma once

#include <set>
#include <string>
#include <utility>

#include "framework/IActionInput.h"

namespace corvane::testing {

// Input actions pressed for one frame, as the input service offers them.
class PressedActions final : public IActionInput {
public:
    HRESULT QueryInterface(const UUID& iid, void** out) override;
    std::int32_t AddRef() override { return 1; }
    std::int32_t Release() override { return 1; }
    float getActionValue(const std::string& action) override {
        return now.count(action) > 0 ? 1.0f : 0.0f;
    }
    // Makes the actions of `next` the pressed ones, for one frame.
    void nextFrame() {
        now = std::move(next);
        next.clear();
    }
    // Pressed in the next frame only.
    std::set<std::string> next;
    std::set<std::string> now;
};

} // namespace corvane::testing
