#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/TextCodes.h"
#include "platform/win32/Win32DropTarget.h"
#include "platform/win32/Win32EventLoop.h"

// COM interfaces have no virtual destructor by design; the test's objects live on its stack.
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

namespace tabulane {
namespace {

// A file drop as Explorer hands it over: a DROPFILES header, then the wide paths, each ended by a NUL, the list by
// one more.
HGLOBAL MakeFileDrop(const std::vector<std::string>& paths) {
    std::wstring list;
    for (const std::string& path : paths) {
        list += WideFromUtf8(path);
        list.push_back(L'\0');
    }
    list.push_back(L'\0');
    const std::size_t bytes = sizeof(DROPFILES) + list.size() * sizeof(wchar_t);
    HGLOBAL memory = ::GlobalAlloc(GHND, bytes);
    auto* header = static_cast<DROPFILES*>(::GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), list.data(), list.size() * sizeof(wchar_t));
    ::GlobalUnlock(memory);
    return memory;
}

const std::vector<std::string> kDropped = {"C:\\Data\\b.txt", "C:\\Data\\a.txt", "D:\\Ωmega-日本.txt",
                                           "\\\\server\\share\\folder"};

// Data offering one clipboard format, as a drag source offers it.
class OneFormatData final : public IDataObject {
public:
    OneFormatData(CLIPFORMAT format, HGLOBAL content) : m_format(format), m_content(content) {}
    ~OneFormatData() { ::GlobalFree(m_content); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;  // only ever called through this interface
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }  // lives on the test's stack
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (QueryGetData(format) != S_OK) {
            return DV_E_FORMATETC;
        }
        // The receiver frees what it gets, so it gets a copy.
        const SIZE_T size = ::GlobalSize(m_content);
        HGLOBAL copy = ::GlobalAlloc(GHND, size);
        std::memcpy(::GlobalLock(copy), ::GlobalLock(m_content), size);
        ::GlobalUnlock(copy);
        ::GlobalUnlock(m_content);
        *medium = {};
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = copy;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        return format->cfFormat == m_format && (format->tymed & TYMED_HGLOBAL) != 0 ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

private:
    CLIPFORMAT m_format;
    HGLOBAL m_content;
};

HGLOBAL MakeText(const char* text) {
    HGLOBAL memory = ::GlobalAlloc(GHND, std::strlen(text) + 1);
    std::memcpy(::GlobalLock(memory), text, std::strlen(text) + 1);
    ::GlobalUnlock(memory);
    return memory;
}

// What the list saw of a drag, and what the drag source was told.
struct SeenDrag {
    std::vector<bool> offered;  // offersFileList at each DragEnter and DragOver
    DWORD overEffect = 0;       // the effect shown while dragging
    DWORD dropEffect = 0;       // the effect Drop answered
    std::vector<std::vector<std::string>> drops;
};

// One drag across the list, entered, moved and released with these keys, as OLE drives a drop target; the list's
// handler refuses what is not a file list, as the window's does.
SeenDrag Drag(IDataObject& data, DWORD keys, DWORD allowed) {
    SeenDrag seen;
    IDropTarget* target = NewFileDropTarget(
        [&seen](bool offersFileList, int& effect) {
            seen.offered.push_back(offersFileList);
            if (!offersFileList) {
                effect = DROPEFFECT_NONE;
            }
        },
        [&seen](const std::vector<std::string>& paths) { seen.drops.push_back(paths); });
    DWORD effect = allowed;
    target->DragEnter(&data, keys, POINTL{5, 5}, &effect);
    effect = allowed;
    target->DragOver(keys, POINTL{6, 6}, &effect);
    seen.overEffect = effect;
    effect = allowed;
    target->Drop(&data, keys, POINTL{6, 6}, &effect);
    seen.dropEffect = effect;
    target->Release();
    return seen;
}

constexpr DWORD kExplorerOffers = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;

TEST(Win32DropTarget, FilesFromExplorerAreTakenAndTheSourceIsNeverToldTheyMoved) {
    struct Case {
        const char* name;
        DWORD keys;
        DWORD allowed;
        DWORD shown;
        DWORD answered;
    };
    const Case cases[] = {
        {"a plain drag shows a copy", MK_LBUTTON, kExplorerOffers, DROPEFFECT_COPY, DROPEFFECT_COPY},
        {"Shift shows the move the source proposes, and the drop answers copy", MK_LBUTTON | MK_SHIFT, kExplorerOffers,
         DROPEFFECT_MOVE, DROPEFFECT_COPY},
        {"Ctrl and Shift show a link", MK_LBUTTON | MK_CONTROL | MK_SHIFT, kExplorerOffers, DROPEFFECT_LINK,
         DROPEFFECT_LINK},
        {"a source that only moves is told nothing happened to its files", MK_LBUTTON, DROPEFFECT_MOVE, DROPEFFECT_MOVE,
         DROPEFFECT_NONE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OneFormatData files(CF_HDROP, MakeFileDrop(kDropped));
        const SeenDrag seen = Drag(files, c.keys, c.allowed);
        EXPECT_EQ(seen.offered, (std::vector<bool>{true, true}));
        EXPECT_EQ(seen.overEffect, c.shown);
        EXPECT_EQ(seen.dropEffect, c.answered);
        EXPECT_EQ(seen.drops, std::vector<std::vector<std::string>>{kDropped});
    }
}

TEST(Win32DropTarget, AnythingButAFileListShowsNoDropAndReleasingItChangesNothing) {
    OneFormatData text(CF_TEXT, MakeText("C:\\Data\\a.txt"));
    const SeenDrag seen = Drag(text, MK_LBUTTON, kExplorerOffers);
    EXPECT_EQ(seen.offered, (std::vector<bool>{false, false}));
    EXPECT_EQ(seen.overEffect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(seen.dropEffect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_TRUE(seen.drops.empty());
}

// A drag source whose button is let go at once, over whatever window is under the pointer.
class ReleasedAtOnce final : public IDropSource {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD) override {
        return escape ? DRAGDROP_S_CANCEL : DRAGDROP_S_DROP;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

// A plain window of our own class: a static control would let the pointer pass through it to the desktop.
HWND CreateListWindow() {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TabulaneTestList";
    ::RegisterClassExW(&windowClass);
    return ::CreateWindowExW(WS_EX_TOPMOST, L"TabulaneTestList", L"List", WS_POPUP | WS_VISIBLE, 400, 400, 200, 200,
                             nullptr, nullptr, windowClass.hInstance, nullptr);
}

TEST(Win32DropTarget, ARegisteredWindowGetsTheDropFromItsMessageLoopOnceTheSourceIsDone) {
    ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
    HWND window = CreateListWindow();
    std::vector<std::vector<std::string>> drops;
    {
        const DropTargetRegistration registration(
            window,
            [](bool offersFileList, int& effect) {
                if (!offersFileList) {
                    effect = DROPEFFECT_NONE;
                }
            },
            [&drops](const std::vector<std::string>& paths) { drops.push_back(paths); });
        ::SetCursorPos(500, 500);
        OneFormatData files(CF_HDROP, MakeFileDrop(kDropped));
        ReleasedAtOnce source;
        DWORD effect = DROPEFFECT_NONE;
        EXPECT_EQ(::DoDragDrop(&files, &source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect), DRAGDROP_S_DROP);
        EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
        // Explorer's drag has ended before the list walks anything.
        EXPECT_TRUE(drops.empty());
        Win32EventLoop().YieldToMessageLoop();
        EXPECT_EQ(drops, std::vector<std::vector<std::string>>{kDropped});
    }
    ::DestroyWindow(window);
    ::OleUninitialize();
}

}  // namespace
}  // namespace tabulane
