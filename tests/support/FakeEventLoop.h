#pragma once

#include <functional>

#include "platform/EventLoop.h"

namespace tabulane::test {

// Counts the yields of long work; onYield, when set, runs at each one (numbered from 1), as clicks and edits
// arriving in the middle of long work would.
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
