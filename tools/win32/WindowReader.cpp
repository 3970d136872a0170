// WindowReader: reads a running program's windows from another process, the way a screen reader or a test robot
// does, and prints what it finds as UTF-8 lines. It proves that everything the window shows is there as text
// (window texts, list rows, the progress bar's position) and not only as pixels. Built for Windows only and never
// shipped: the end-to-end check runs it under Wine beside the program.
//
//   WindowReader read  [--title T] [--class C] [--hwnd H] every matching top-level window and all its controls
//   WindowReader wait  [--title T] [--class C] [--hwnd H] [--enabled] [--gone] [--timeout MS] [--poll MS]
//   WindowReader press --button TEXT [--title T] [--class C]
//
// Only visible top-level windows are matched; --title and --class compare exactly, --hwnd H (as printed) names one
// window, also a control (--title then compares its text); without any, every visible top-level window matches.
// --enabled matches only windows that take input (an owner is disabled while its modal box is up, and for a moment
// after the box is hidden). `press` looks in dialog boxes (class #32770) unless --class says otherwise, finds the
// button whose text is TEXT (as it stands or without its & mnemonic marks) and presses it as a click would
// (WM_COMMAND BN_CLICKED to its owner).
//
// Output: one record per line, fields separated by tabs, the record's kind first; a free text is always the last
// field, with backslash, tab, CR and LF written as \\, \t, \r and \n and other control characters as \xHH.
// Rectangles are screen coordinates (left top right bottom, right and bottom exclusive).
//   window   HWND PID CLASS LEFT TOP RIGHT BOTTOM VISIBLE ENABLED TEXT
//   client   HWND LEFT TOP RIGHT BOTTOM           the window's client area
//   control  HWND PARENT ID CLASS LEFT TOP RIGHT BOTTOM VISIBLE ENABLED STYLE TEXT
//   check    HWND STATE                        buttons with a check (radio, check box): 0 clear, 1 set, 2 grey
//   column   HWND INDEX WIDTH TEXT             the header columns of a list view
//   rows     HWND COUNT                        the number of items of a list view or list box
//   row      HWND INDEX SELECTED LEFT TOP RIGHT BOTTOM TEXT    one item (a list view's first column)
//   entries  HWND COUNT SELECTED               a combo box: its number of entries and the selected one (-1 none)
//   entry    HWND INDEX TEXT                   one entry of a combo box
//   progress HWND POS MIN MAX                  a progress bar
//   end      COUNT                             after `read`: how many top-level windows were printed
//   time     EPOCH_MS                          after `wait`: when the wait was met (milliseconds since 1970, UTC)
//   pressed  HWND                              after `press`: the button pressed
// Exit status: 0 done, 1 nothing matched (or a wait timed out), 2 wrong arguments or a failed call.

#include <windows.h>

#include <commctrl.h>
#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr int kTextLimit = 32768;  // characters read per text; longer texts are cut

struct Match {
    std::wstring title;
    std::wstring windowClass;
    bool hasTitle = false;
    bool hasClass = false;
    HWND window = nullptr;
    bool enabled = false;
};

std::string ToUtf8(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr, nullptr);
    return result;
}

std::string Escape(const std::wstring& text) {
    std::string result;
    for (const char c : ToUtf8(text)) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '\\':
                result += "\\\\";
                break;
            case '\t':
                result += "\\t";
                break;
            case '\r':
                result += "\\r";
                break;
            case '\n':
                result += "\\n";
                break;
            default:
                if (byte < 0x20 || byte == 0x7F) {
                    char code[8];
                    std::snprintf(code, sizeof code, "\\x%02X", byte);
                    result += code;
                } else {
                    result += c;
                }
        }
    }
    return result;
}

// Where records go: standard output, or a buffer while a reading is held back (see Wait).
std::string* g_heldBack = nullptr;

void Emit(const std::string& line) {
    if (g_heldBack != nullptr) {
        *g_heldBack += line;
    } else {
        std::fwrite(line.data(), 1, line.size(), stdout);
    }
}

// One record: the fields joined by tabs, the last one escaped as free text.
void Print(const std::vector<std::string>& fields, const std::wstring& text) {
    std::string line;
    for (const auto& field : fields) {
        line += field;
        line += '\t';
    }
    line += Escape(text);
    line += '\n';
    Emit(line);
}

void Print(const std::vector<std::string>& fields) {
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) {
        line += (i == 0 ? "" : "\t") + fields[i];
    }
    line += '\n';
    Emit(line);
}

std::string Handle(HWND window) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)));
    return text;
}

std::string Hex(unsigned long value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lx", value);
    return text;
}

std::string Number(long long value) {
    return std::to_string(value);
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

// The window text through WM_GETTEXT, which the system carries across processes (GetWindowText would not ask
// another process's control for it).
std::wstring TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) {
        return {};
    }
    std::wstring text(std::min<size_t>(length, kTextLimit) + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 5000,
                        &copied);
    text.resize(std::min<size_t>(copied, text.size() - 1));
    return text;
}

std::vector<std::string> RectFields(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return {Number(rect.left), Number(rect.top), Number(rect.right), Number(rect.bottom)};
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result)) {
        return -1;
    }
    return static_cast<LRESULT>(result);
}

// A block of memory in the process that owns a window: the list view's messages take pointers to structures that
// the control fills in, and such pointers mean nothing outside the control's own process.
class RemoteBlock {
public:
    RemoteBlock(HWND window, size_t size) : m_size(size) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        m_process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
        if (m_process != nullptr) {
            m_address = VirtualAllocEx(m_process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        }
    }
    ~RemoteBlock() {
        if (m_address != nullptr) {
            VirtualFreeEx(m_process, m_address, 0, MEM_RELEASE);
        }
        if (m_process != nullptr) {
            CloseHandle(m_process);
        }
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    bool Valid() const { return m_address != nullptr; }
    char* Address(size_t offset = 0) const { return static_cast<char*>(m_address) + offset; }
    bool Write(size_t offset, const void* data, size_t size) const {
        return offset + size <= m_size && WriteProcessMemory(m_process, Address(offset), data, size, nullptr);
    }
    bool Read(size_t offset, void* data, size_t size) const {
        return offset + size <= m_size && ReadProcessMemory(m_process, Address(offset), data, size, nullptr);
    }
    // The text the control wrote at offset, up to its first NUL.
    std::wstring ReadText(size_t offset, size_t characters) const {
        std::wstring text(characters, L'\0');
        if (!Read(offset, text.data(), characters * sizeof(wchar_t))) {
            return {};
        }
        text.resize(std::wcslen(text.c_str()));
        return text;
    }

private:
    HANDLE m_process = nullptr;
    void* m_address = nullptr;
    size_t m_size;
};

constexpr size_t kRemoteTextCharacters = kTextLimit;
constexpr size_t kRemoteTextOffset = 1024;  // after the structure the message fills in
constexpr size_t kRemoteSize = kRemoteTextOffset + (kRemoteTextCharacters + 1) * sizeof(wchar_t);

// One row, its rectangle (relative to the list's client area) turned into screen coordinates.
void PrintRow(HWND list, LRESULT index, bool selected, RECT rect, const std::wstring& text) {
    MapWindowPoints(list, HWND_DESKTOP, reinterpret_cast<POINT*>(&rect), 2);
    Print({"row", Handle(list), Number(index), selected ? "1" : "0", Number(rect.left), Number(rect.top),
           Number(rect.right), Number(rect.bottom)},
          text);
}

void PrintListView(HWND list) {
    RemoteBlock block(list, kRemoteSize);
    if (!block.Valid()) {
        std::fprintf(stderr, "WindowReader: cannot reach the memory of the list's process (error %lu)\n",
                     GetLastError());
        return;
    }
    auto* const remoteText = reinterpret_cast<wchar_t*>(block.Address(kRemoteTextOffset));
    const HWND header = reinterpret_cast<HWND>(Send(list, LVM_GETHEADER, 0, 0));
    const LRESULT columns = header != nullptr ? Send(header, HDM_GETITEMCOUNT, 0, 0) : 0;
    for (LRESULT i = 0; i < columns; ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = remoteText;
        column.cchTextMax = static_cast<int>(kRemoteTextCharacters);
        const wchar_t none = L'\0';
        block.Write(kRemoteTextOffset, &none, sizeof none);
        block.Write(0, &column, sizeof column);
        if (!Send(list, LVM_GETCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(block.Address()))) {
            continue;
        }
        block.Read(0, &column, sizeof column);
        Print({"column", Handle(list), Number(i), Number(column.cx)},
              block.ReadText(kRemoteTextOffset, kRemoteTextCharacters));
    }
    const LRESULT count = Send(list, LVM_GETITEMCOUNT, 0, 0);
    Print({"rows", Handle(list), Number(count)});
    for (LRESULT i = 0; i < count; ++i) {
        LVITEMW item{};
        item.iSubItem = 0;
        item.pszText = remoteText;
        item.cchTextMax = static_cast<int>(kRemoteTextCharacters);
        block.Write(0, &item, sizeof item);
        const LRESULT length =
            Send(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(block.Address()));
        const std::wstring text =
            length > 0 ? block.ReadText(kRemoteTextOffset, std::min<size_t>(length, kRemoteTextCharacters)) : L"";
        const bool selected = Send(list, LVM_GETITEMSTATE, static_cast<WPARAM>(i), LVIS_SELECTED) & LVIS_SELECTED;
        RECT rect{};
        rect.left = LVIR_BOUNDS;
        block.Write(0, &rect, sizeof rect);
        if (Send(list, LVM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(block.Address())) > 0) {
            block.Read(0, &rect, sizeof rect);
        } else {
            rect = RECT{};
        }
        PrintRow(list, i, selected, rect, text);
    }
}

// Combo box and list box entries: the system carries CB_GETLBTEXT and LB_GETTEXT across processes itself.
void PrintEntries(HWND window, bool isCombo) {
    const UINT countMessage = isCombo ? CB_GETCOUNT : LB_GETCOUNT;
    const UINT lengthMessage = isCombo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
    const UINT textMessage = isCombo ? CB_GETLBTEXT : LB_GETTEXT;
    const LRESULT count = Send(window, countMessage, 0, 0);
    if (count < 0) {
        return;
    }
    if (isCombo) {
        Print({"entries", Handle(window), Number(count), Number(Send(window, CB_GETCURSEL, 0, 0))});
    } else {
        Print({"rows", Handle(window), Number(count)});
    }
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = Send(window, lengthMessage, static_cast<WPARAM>(i), 0);
        std::wstring text(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
        const LRESULT copied = Send(window, textMessage, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(std::clamp<LRESULT>(copied, 0, static_cast<LRESULT>(text.size()) - 1)));
        if (isCombo) {
            Print({"entry", Handle(window), Number(i)}, text);
        } else {
            const bool selected = Send(window, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0;
            // The system carries LB_GETITEMRECT's rectangle across processes, as it does the texts.
            RECT rect{};
            if (Send(window, LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rect)) == LB_ERR) {
                rect = RECT{};
            }
            PrintRow(window, i, selected, rect, text);
        }
    }
}

void PrintContent(HWND control);

void PrintControl(HWND control) {
    const std::wstring className = ClassOf(control);
    const auto style = static_cast<unsigned long>(GetWindowLongPtrW(control, GWL_STYLE));
    std::vector<std::string> fields{"control", Handle(control), Handle(GetParent(control)),
                                    Number(GetDlgCtrlID(control)), Escape(className)};
    for (auto& field : RectFields(control)) {
        fields.push_back(std::move(field));
    }
    fields.push_back(IsWindowVisible(control) ? "1" : "0");
    fields.push_back(IsWindowEnabled(control) ? "1" : "0");
    fields.push_back(Hex(style));
    Print(fields, TextOf(control));
    PrintContent(control);
}

// What a control holds beyond its window text, by its class. A top-level window can be such a control too: the
// list of a dropped-down combo box is one.
void PrintContent(HWND control) {
    const std::wstring className = ClassOf(control);
    const auto style = static_cast<unsigned long>(GetWindowLongPtrW(control, GWL_STYLE));
    if (_wcsicmp(className.c_str(), WC_BUTTONW) == 0) {
        const unsigned long kind = style & BS_TYPEMASK;
        const bool hasCheck = kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_RADIOBUTTON ||
                              kind == BS_AUTORADIOBUTTON || kind == BS_3STATE || kind == BS_AUTO3STATE;
        if (hasCheck) {
            Print({"check", Handle(control), Number(Send(control, BM_GETCHECK, 0, 0))});
        }
    } else if (_wcsicmp(className.c_str(), WC_LISTVIEWW) == 0) {
        PrintListView(control);
    } else if (_wcsicmp(className.c_str(), WC_COMBOBOXW) == 0) {
        PrintEntries(control, true);
    } else if (_wcsicmp(className.c_str(), WC_LISTBOXW) == 0 || className == L"ComboLBox") {
        PrintEntries(control, false);
    } else if (_wcsicmp(className.c_str(), PROGRESS_CLASSW) == 0) {
        Print({"progress", Handle(control), Number(Send(control, PBM_GETPOS, 0, 0)),
               Number(Send(control, PBM_GETRANGE, TRUE, 0)), Number(Send(control, PBM_GETRANGE, FALSE, 0))});
    }
}

bool Matches(HWND window, const Match& match) {
    if (!IsWindowVisible(window) || (match.window != nullptr && window != match.window) ||
        (match.enabled && !IsWindowEnabled(window))) {
        return false;
    }
    if (match.hasClass && ClassOf(window) != match.windowClass) {
        return false;
    }
    return !match.hasTitle || TextOf(window) == match.title;
}

std::vector<HWND> FindWindows(const Match& match) {
    // A named window is looked at directly, so a control can be waited for too (its text, say).
    if (match.window != nullptr) {
        return IsWindow(match.window) && Matches(match.window, match) ? std::vector<HWND>{match.window}
                                                                      : std::vector<HWND>{};
    }
    struct Search {
        const Match* match;
        std::vector<HWND> found;
    } search{&match, {}};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* const s = reinterpret_cast<Search*>(data);
            if (Matches(window, *s->match)) {
                s->found.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> ChildrenOf(HWND window) {
    std::vector<HWND> children;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM data) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(data)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    return children;
}

void PrintWindow(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    std::vector<std::string> fields{"window", Handle(window), Number(processId), Escape(ClassOf(window))};
    for (auto& field : RectFields(window)) {
        fields.push_back(std::move(field));
    }
    fields.push_back(IsWindowVisible(window) ? "1" : "0");
    fields.push_back(IsWindowEnabled(window) ? "1" : "0");
    Print(fields, TextOf(window));
    RECT client{};
    GetClientRect(window, &client);
    MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
    Print({"client", Handle(window), Number(client.left), Number(client.top), Number(client.right),
           Number(client.bottom)});
}

long long EpochMilliseconds() {
    FILETIME now{};
    GetSystemTimePreciseAsFileTime(&now);
    const unsigned long long ticks = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    constexpr unsigned long long kTicksTo1970 = 116444736000000000ULL;  // 100 ns ticks from 1601 to 1970
    return static_cast<long long>((ticks - kTicksTo1970) / 10000);
}

std::wstring WithoutMnemonics(const std::wstring& text) {
    std::wstring result;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size()) {
            ++i;  // "&&" is a literal ampersand; "&N" marks N
        }
        result += text[i];
    }
    return result;
}

int Usage() {
    std::fputs(
        "usage: WindowReader read  [--title T] [--class C] [--hwnd H]\n"
        "       WindowReader wait  [--title T] [--class C] [--hwnd H] [--enabled] [--gone] [--timeout MS] [--poll MS]\n"
        "       WindowReader press --button TEXT [--title T] [--class C]\n",
        stderr);
    return 2;
}

int Read(const Match& match) {
    const auto windows = FindWindows(match);
    for (const HWND window : windows) {
        PrintWindow(window);
        PrintContent(window);
        for (const HWND child : ChildrenOf(window)) {
            PrintControl(child);
        }
    }
    Print({"end", Number(static_cast<long long>(windows.size()))});
    return windows.empty() ? 1 : 0;
}

int Wait(const Match& match, bool gone, long timeoutMs, long pollMs) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    for (;;) {
        const auto windows = FindWindows(match);
        if (windows.empty() == gone) {
            const long long metAt = EpochMilliseconds();
            if (!gone) {
                // The reading counts only if the window still matches after it, so that what it shows (a progress
                // bar's position, say) belongs to the state that was waited for and not to the next one.
                std::string reading;
                g_heldBack = &reading;
                PrintWindow(windows.front());
                PrintContent(windows.front());
                g_heldBack = nullptr;
                if (!Matches(windows.front(), match)) {
                    continue;
                }
                Emit(reading);
            }
            Print({"time", Number(metAt)});
            return 0;
        }
        if (GetTickCount64() >= deadline) {
            return 1;
        }
        Sleep(static_cast<DWORD>(pollMs));
    }
}

int Press(const Match& match, const std::wstring& button) {
    for (const HWND window : FindWindows(match)) {
        for (const HWND child : ChildrenOf(window)) {
            const std::wstring text = TextOf(child);
            if (_wcsicmp(ClassOf(child).c_str(), WC_BUTTONW) != 0 || !IsWindowVisible(child) ||
                (text != button && WithoutMnemonics(text) != button)) {
                continue;
            }
            const HWND owner = GetParent(child);
            const WPARAM command = MAKEWPARAM(GetDlgCtrlID(child), BN_CLICKED);
            if (!PostMessageW(owner, WM_COMMAND, command, reinterpret_cast<LPARAM>(child))) {
                std::fprintf(stderr, "WindowReader: cannot press the button (error %lu)\n", GetLastError());
                return 2;
            }
            Print({"pressed", Handle(child)});
            return 0;
        }
    }
    return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // Rectangles in physical pixels, as the pointer that clicks them sees the screen.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc < 2) {
        return Usage();
    }
    const std::wstring command = argv[1];
    Match match;
    std::wstring button;
    bool gone = false;
    long timeoutMs = 10000;
    long pollMs = 50;
    for (int i = 2; i < argc; ++i) {
        const std::wstring option = argv[i];
        const bool hasValue = i + 1 < argc;
        if (option == L"--gone") {
            gone = true;
        } else if (option == L"--enabled") {
            match.enabled = true;
        } else if (!hasValue) {
            return Usage();
        } else if (option == L"--title") {
            match.title = argv[++i];
            match.hasTitle = true;
        } else if (option == L"--class") {
            match.windowClass = argv[++i];
            match.hasClass = true;
        } else if (option == L"--hwnd") {
            match.window = reinterpret_cast<HWND>(static_cast<uintptr_t>(std::wcstoull(argv[++i], nullptr, 16)));
        } else if (option == L"--button") {
            button = argv[++i];
        } else if (option == L"--timeout") {
            timeoutMs = std::wcstol(argv[++i], nullptr, 10);
        } else if (option == L"--poll") {
            pollMs = std::max(1L, std::wcstol(argv[++i], nullptr, 10));
        } else {
            return Usage();
        }
    }
    int status = 2;
    if (command == L"read") {
        status = Read(match);
    } else if (command == L"wait") {
        status = Wait(match, gone, timeoutMs, pollMs);
    } else if (command == L"press" && !button.empty()) {
        if (!match.hasClass) {
            match.windowClass = L"#32770";
            match.hasClass = true;
        }
        status = Press(match, button);
    } else {
        return Usage();
    }
    std::fflush(stdout);
    return status;
}
