#pragma once

namespace tabulane {

// Lets the window repaint and run other handlers in the middle of long work.
class EventLoop {
public:
    virtual ~EventLoop() = default;
    virtual void YieldToMessageLoop() = 0;
};

}  // namespace tabulane
