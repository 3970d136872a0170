#pragma once

#include "filelist/FileList.h"
#include "platform/MainWindow.h"
#include "shell/ErrorReport.h"

namespace tabulane {

// The key code of the Delete key, the only key the list acts on.
inline constexpr int kDeleteKeyCode = 46;

// Removal and clearing are refused while a run or a folder scan is under way (the hourglass pointer):
// they yield to the message loop and still walk the list by position.

// Double-click on the list: removes the selected entry, not the one under the pointer. Nothing without a selection.
void ListView1_DblClick(const MainWindow& window, FileList& list);
// A key pressed in the list: Delete does what a double-click does; every other key is left to the list view.
void ListView1_KeyDown(const MainWindow& window, FileList& list, int keyCode);
// "Clear List": empties the list at once, without asking.
void PushButton6_Click(const MainWindow& window, FileList& list, ErrorReporter& reporter);

}  // namespace tabulane
