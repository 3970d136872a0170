#pragma once

#include <functional>

#include "filelist/DragDrop.h"
#include "ui/qt/Form1.h"

class QEvent;
class QMimeData;

namespace tabulane {

// A drag's data as the list sees it: a file list only when every address is a local file, in the delivered order.
DragData DragDataFrom(const QMimeData* mime);

// Runs one handler of the window under the window's trap, named as the location text names it.
using TrappedRun = std::function<void(const char* name, const std::function<void()>& handler)>;

// A drag over or a drop on the list, answered through the window's handlers; without a handler it is refused.
// True when the event was one of these.
bool HandleListDrag(QEvent& event, const Form1Events& events, Form1& form, const TrappedRun& run);

}  // namespace tabulane
