#pragma once

#include <functional>

#include "platform/EventLoop.h"

namespace tabulane::test {

// A message loop whose yields run a test's script, as clicks and edits arriving in the middle of long work.
// The script gets the yield's number, counted from 1.
class ScriptedEventLoop final : public EventLoop {
public:
    void YieldToMessageLoop() override {
        ++yields;
        if (onYield) {
            onYield(yields);
        }
    }

    int yields = 0;
    std::function<void(int)> onYield;
};

}  // namespace tabulane::test
