#pragma once

#include <windows.h>

#include <functional>

#include "platform/EventLoop.h"

namespace tabulane {

// Dispatches every message waiting for the thread's windows (PeekMessageW, TranslateMessage, DispatchMessageW),
// then returns. A quit request met on the way is posted again, so the window's own loop still ends on it.
class Win32EventLoop final : public EventLoop {
public:
    // The window's own look at a message before it is dispatched, as in its main loop (IsDialogMessageW for
    // keyboard navigation); true when it took the message.
    using MessageFilter = std::function<bool(MSG& message)>;

    void SetMessageFilter(MessageFilter filter) { m_filter = std::move(filter); }
    void YieldToMessageLoop() override;

private:
    MessageFilter m_filter;
};

}  // namespace tabulane
