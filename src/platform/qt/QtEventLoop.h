#pragma once

#include "platform/EventLoop.h"

namespace tabulane {

// Lets pending window events (paints, clicks, closing) run in the middle of long work.
class QtEventLoop final : public EventLoop {
public:
    void YieldToMessageLoop() override;
};

}  // namespace tabulane
