#include "platform/win32/Win32DropTarget.h"

#include <shellapi.h>

#include <deque>
#include <utility>

#include "platform/PlatformError.h"
#include "platform/TextCodes.h"

namespace tabulane {
namespace {

FORMATETC FileDropFormat() {
    return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

bool OffersFileList(IDataObject* data) {
    FORMATETC format = FileDropFormat();
    return data != nullptr && data->QueryGetData(&format) == S_OK;
}

// The effect the drag proposes: the one the keys ask for when the source allows it (Ctrl copy, Shift move, both
// link), else the first the source allows of copy, link and move.
DWORD ProposedEffect(DWORD keys, DWORD allowed) {
    DWORD wanted = 0;
    if ((keys & MK_CONTROL) != 0 && (keys & MK_SHIFT) != 0) {
        wanted = DROPEFFECT_LINK;
    } else if ((keys & MK_CONTROL) != 0) {
        wanted = DROPEFFECT_COPY;
    } else if ((keys & MK_SHIFT) != 0) {
        wanted = DROPEFFECT_MOVE;
    }
    if ((wanted & allowed) != 0) {
        return wanted;
    }
    for (const DWORD effect : {DROPEFFECT_COPY, DROPEFFECT_LINK, DROPEFFECT_MOVE}) {
        if ((allowed & effect) != 0) {
            return effect;
        }
    }
    return DROPEFFECT_NONE;
}

// What a finished drop tells the source: the paths were copied into the list, never moved.
DWORD AnsweredEffect(DWORD allowed) {
    for (const DWORD effect : {DROPEFFECT_COPY, DROPEFFECT_LINK}) {
        if ((allowed & effect) != 0) {
            return effect;
        }
    }
    return DROPEFFECT_NONE;
}

}  // namespace

struct DropDeliveryQueue {
    DropHandler handler;
    std::deque<std::vector<std::string>> pending;
};

namespace {

using Delivery = std::function<void(std::vector<std::string> paths)>;

// COM interfaces have no virtual destructor by design: an object ends through its own Release.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class FileDropTarget final : public IDropTarget {
public:
    FileDropTarget(DragOverHandler dragOver, Delivery deliver)
        : m_dragOver(std::move(dragOver)), m_deliver(std::move(deliver)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID interfaceId, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (IsEqualIID(interfaceId, IID_IUnknown) || IsEqualIID(interfaceId, IID_IDropTarget)) {
            *object = static_cast<IDropTarget*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&m_references)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = ::InterlockedDecrement(&m_references);
        if (left == 0) {
            delete this;  // a COM object ends with its last reference
        }
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL /*point*/, DWORD* effect) override {
        m_offersFileList = OffersFileList(data);
        return DecideEffect(keys, effect);
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL /*point*/, DWORD* effect) override {
        return DecideEffect(keys, effect);
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        m_offersFileList = false;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD /*keys*/, POINTL /*point*/, DWORD* effect) override {
        if (effect == nullptr) {
            return E_INVALIDARG;
        }
        m_offersFileList = false;
        const DWORD allowed = *effect;
        *effect = DROPEFFECT_NONE;
        if (!OffersFileList(data)) {
            return S_OK;
        }
        FORMATETC format = FileDropFormat();
        STGMEDIUM medium = {};
        if (data->GetData(&format, &medium) != S_OK) {
            return S_OK;
        }
        std::vector<std::string> paths;
        try {
            paths = PathsFromFileDrop(medium.hGlobal);
        } catch (...) {
            ::ReleaseStgMedium(&medium);
            return E_OUTOFMEMORY;
        }
        ::ReleaseStgMedium(&medium);
        *effect = AnsweredEffect(allowed);
        try {
            m_deliver(std::move(paths));
        } catch (...) {
            return E_UNEXPECTED;  // nothing may leave through COM; the handler reports its own failures
        }
        return S_OK;
    }

private:
    HRESULT DecideEffect(DWORD keys, DWORD* effect) {
        if (effect == nullptr) {
            return E_INVALIDARG;
        }
        int decided = static_cast<int>(ProposedEffect(keys, *effect));
        try {
            m_dragOver(m_offersFileList, decided);
        } catch (...) {
            decided = DROPEFFECT_NONE;
        }
        *effect = static_cast<DWORD>(decided);
        return S_OK;
    }

    LONG m_references = 1;
    bool m_offersFileList = false;
    DragOverHandler m_dragOver;
    Delivery m_deliver;
};
#pragma GCC diagnostic pop

// A message-only window that hands a drop to the window after OLE's Drop has returned: the drag source (Explorer,
// in another process) waits for Drop, and a dropped folder tree may take long to walk.
constexpr UINT kDeliverDrops = WM_APP + 1;
constexpr const wchar_t* kDeliveryClass = L"TabulaneDropDelivery";

LRESULT CALLBACK DeliveryProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    } else if (message == kDeliverDrops) {
        auto* queue = reinterpret_cast<DropDeliveryQueue*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (queue != nullptr && !queue->pending.empty()) {
            const std::vector<std::string> paths = std::move(queue->pending.front());
            queue->pending.pop_front();
            try {
                queue->handler(paths);
            } catch (...) {
                // The window's handler reports its own failures; nothing may unwind through the message loop.
            }
        }
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateDeliveryWindow(DropDeliveryQueue* queue) {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DeliveryProcedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kDeliveryClass;
    if (::RegisterClassExW(&windowClass) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        return nullptr;
    }
    return ::CreateWindowExW(0, kDeliveryClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, queue);
}

// OLE's failures carry an HRESULT; the reports show it as the number, as an automation error does.
PlatformError AutomationError(HRESULT result) {
    return PlatformError(static_cast<int>(result), "Automation error: the list does not accept dropped files");
}

}  // namespace

std::vector<std::string> PathsFromFileDrop(HGLOBAL data) {
    auto* drop = static_cast<HDROP>(data);
    std::vector<std::string> paths;
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    paths.reserve(count);
    for (UINT i = 0; i < count; ++i) {
        std::wstring path(::DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        path.resize(::DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
        paths.push_back(Utf8FromWide(path));
    }
    return paths;
}

IDropTarget* NewFileDropTarget(DragOverHandler dragOver, DropHandler drop) {
    return new FileDropTarget(std::move(dragOver),
                              [drop = std::move(drop)](std::vector<std::string> paths) { drop(paths); });
}

DropTargetRegistration::DropTargetRegistration(HWND window, DragOverHandler dragOver, DropHandler drop)
    : m_window(window), m_queue(std::make_unique<DropDeliveryQueue>()) {
    m_queue->handler = std::move(drop);
    m_delivery = CreateDeliveryWindow(m_queue.get());
    if (m_delivery == nullptr) {
        throw AutomationError(HRESULT_FROM_WIN32(::GetLastError()));
    }
    DropDeliveryQueue* queue = m_queue.get();
    HWND delivery = m_delivery;
    m_target = new FileDropTarget(std::move(dragOver), [queue, delivery](std::vector<std::string> paths) {
        queue->pending.push_back(std::move(paths));
        ::PostMessageW(delivery, kDeliverDrops, 0, 0);
    });
    const HRESULT result = ::RegisterDragDrop(window, m_target);
    if (FAILED(result)) {
        m_target->Release();
        ::DestroyWindow(m_delivery);
        throw AutomationError(result);
    }
}

DropTargetRegistration::~DropTargetRegistration() {
    ::RevokeDragDrop(m_window);
    m_target->Release();
    ::DestroyWindow(m_delivery);
}

}  // namespace tabulane
