#pragma once

#include <functional>

#include "platform/EventLoop.h"

namespace tabulane::test {

// Counts the yields of long work; onYield, when set, runs at each one, as a user's action would.
class FakeEventLoop final : public EventLoop {
public:
    void YieldToMessageLoop() override {
        ++yields;
        if (onYield) {
            onYield(yields);
        }
    }
    int yields = 0;
    std::function<void(int yield)> onYield;
};

}  // namespace tabulane::test
