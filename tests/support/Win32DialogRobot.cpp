#ifdef _WIN32

#include "support/Win32DialogRobot.h"

#include <thread>

#include "platform/TextCodes.h"

namespace tabulane::test {
namespace {

struct Search {
    const std::function<bool(HWND)>* matches;
    HWND found = nullptr;
};

BOOL CALLBACK VisitTopWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process == ::GetCurrentProcessId() && ::IsWindowVisible(window) && ClassOf(window) == "#32770" &&
        (*search->matches)(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

std::vector<HWND> OpenDialogs() {
    std::vector<HWND> dialogs;
    const std::function<bool(HWND)> any = [&dialogs](HWND window) {
        dialogs.push_back(window);
        return false;  // go on: every one is wanted
    };
    Search search{&any};
    ::EnumWindows(VisitTopWindow, reinterpret_cast<LPARAM>(&search));
    return dialogs;
}

}  // namespace

OwnerWindow::OwnerWindow() {
    m_owner.SetWindow(::CreateWindowExW(0, L"Static", L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200,
                                        nullptr, nullptr, nullptr, nullptr));
}

OwnerWindow::~OwnerWindow() {
    ::DestroyWindow(m_owner.Window());
}

HWND WaitForDialog(const std::function<bool(HWND)>& matches, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    do {
        Search search{&matches};
        ::EnumWindows(VisitTopWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            return search.found;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    } while (std::chrono::steady_clock::now() < end);
    return nullptr;
}

HWND WaitForDialog(const std::string& caption, std::chrono::milliseconds timeout) {
    return WaitForDialog([&caption](HWND window) { return TextOf(window) == caption; }, timeout);
}

std::string TextOf(HWND window) {
    // WM_GETTEXT, as another program would send it; the length first, so no text is cut.
    const auto length = static_cast<std::size_t>(::SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
    std::wstring text(length + 1, L'\0');
    const auto copied = static_cast<std::size_t>(
        ::SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
    text.resize(copied);
    return Utf8FromWide(text);
}

std::string ClassOf(HWND window) {
    wchar_t name[256] = {};
    ::GetClassNameW(window, name, 256);
    return Utf8FromWide(name);
}

std::vector<HWND> ControlsOf(HWND dialog, const std::string& className) {
    std::vector<HWND> controls;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (className.empty() || ClassOf(child) == className) {
            controls.push_back(child);
        }
    }
    return controls;
}

std::vector<std::string> TextsOf(HWND dialog, const std::string& className) {
    std::vector<std::string> texts;
    for (HWND control : ControlsOf(dialog, className)) {
        if (std::string text = TextOf(control); !text.empty() && ::IsWindowVisible(control)) {
            texts.push_back(std::move(text));
        }
    }
    return texts;
}

bool ClickButton(HWND dialog, const std::string& text) {
    for (HWND button : ControlsOf(dialog, "Button")) {
        if (TextOf(button) == text && ::IsWindowVisible(button)) {
            // Posted, not sent: the click ends the dialog, and the answer comes back on the dialog's thread.
            ::PostMessageW(button, BM_CLICK, 0, 0);
            return true;
        }
    }
    return false;
}

void TypeInto(HWND edit, const std::string& text) {
    ::SendMessageW(edit, EM_SETSEL, 0, -1);
    ::SendMessageW(edit, WM_CHAR, VK_BACK, 0);
    for (const wchar_t unit : WideFromUtf8(text)) {
        ::SendMessageW(edit, WM_CHAR, unit, 1);
    }
}

void WithRobot(const std::function<void()>& show, const std::function<void()>& robot) {
    std::thread helper([&robot] {
        robot();
        // Whatever the robot left open is cancelled, a few times over, until the dialog's thread has let it go.
        for (int round = 0; round < 100; ++round) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            const std::vector<HWND> open = OpenDialogs();
            if (open.empty()) {
                return;
            }
            for (HWND dialog : open) {
                for (const WPARAM command : {IDCANCEL, IDNO, IDOK}) {
                    ::PostMessageW(dialog, WM_COMMAND, command, 0);
                }
            }
        }
    });
    show();
    helper.join();
}

}  // namespace tabulane::test

#endif  // _WIN32
