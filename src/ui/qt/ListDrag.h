#pragma once

#include <string_view>

#include "filelist/DragDrop.h"
#include "ui/Form1Logic.h"

class QEvent;
class QMimeData;

namespace tabulane {

// A drag's data as the list sees it: a file list only when every address is a local file, in the delivered order.
// Each path keeps the exact bytes of its address, so a file whose name is not UTF-8 is still found.
DragData DragDataFrom(const QMimeData* mime);

// A drag over or a drop on the control, answered by the logic. True when the event was one of these.
bool HandleListDrag(QEvent& event, std::string_view control, Form1Logic& logic);

}  // namespace tabulane
