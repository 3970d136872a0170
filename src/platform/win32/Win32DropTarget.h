#pragma once

#include <ole2.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tabulane {

// Called on every move of a drag over the window: whether the data offers the file-drop format (CF_HDROP), and
// the effect the drag source proposes, which the handler may set to DROPEFFECT_NONE (the no-drop pointer).
using DragOverHandler = std::function<void(bool offersFileList, int& effect)>;
// Called once on release, only for data that offers CF_HDROP: the paths as UTF-8, in the order delivered.
using DropHandler = std::function<void(const std::vector<std::string>& paths)>;

// The paths of a file drop (the CF_HDROP data: a DROPFILES block), read with DragQueryFileW, as UTF-8, in the
// order the drag source delivered them.
std::vector<std::string> PathsFromFileDrop(HGLOBAL drop);

// The drop target itself, with one reference for the caller (Release it): what DropTargetRegistration registers,
// open to tests that drive it as OLE would.
IDropTarget* NewFileDropTarget(DragOverHandler dragOver, DropHandler drop);

struct DropDeliveryQueue;

// A window as an OLE drop target (RegisterDragDrop) for files dragged from Explorer, for as long as this object
// lives. The thread must have called OleInitialize. Throws PlatformError when the window cannot be registered.
// The handler gets a drop after OLE's Drop has returned, from the thread's message loop, so the drag source is not
// kept waiting while a dropped folder tree is walked. A drop is answered as a copy, never as a move, whatever the
// drag showed: a source told "moved" may delete its files, and the list only takes their paths.
class DropTargetRegistration {
public:
    DropTargetRegistration(HWND window, DragOverHandler dragOver, DropHandler drop);
    ~DropTargetRegistration();
    DropTargetRegistration(const DropTargetRegistration&) = delete;
    DropTargetRegistration& operator=(const DropTargetRegistration&) = delete;

private:
    HWND m_window;
    std::unique_ptr<DropDeliveryQueue> m_queue;  // drops waiting to reach the handler
    HWND m_delivery = nullptr;                   // the message-only window that hands them over
    IDropTarget* m_target = nullptr;             // one reference of ours; OLE holds its own while registered
};

}  // namespace tabulane
