#pragma once

#include "platform/EventLoop.h"

namespace tabulane::test {

// Counts the yields of long work.
class FakeEventLoop final : public EventLoop {
public:
    void YieldToMessageLoop() override { ++yields; }
    int yields = 0;
};

}  // namespace tabulane::test
