#include "filelist/ListEditing.h"

namespace tabulane {

namespace {

bool IsBusy(const MainWindow& window) {
    return window.Pointer() == MousePointer::Hourglass;
}

}  // namespace

void ListView1_DblClick(const MainWindow& window, FileList& list) {
    if (IsBusy(window) || list.Count() < 1) {
        return;
    }
    // These handlers have no error trap, so a stale selection is checked here instead of failing in a Qt slot.
    const int position = window.SelectedListPosition();
    if (position >= 1 && position <= list.Count()) {
        list.RemoveAt(position);
    }
}

void ListView1_KeyDown(const MainWindow& window, FileList& list, int keyCode) {
    if (keyCode == kDeleteKeyCode) {
        ListView1_DblClick(window, list);
    }
}

void PushButton6_Click(const MainWindow& window, FileList& list, ErrorReporter& reporter) {
    ErrorTrap trap(reporter, "Form1", "PushButton6_Click");
    bool busy = true;
    trap.Step(100, [&] { busy = IsBusy(window); });
    if (!busy) {
        trap.Step(102, [&] { list.Clear(); });
    }
}

}  // namespace tabulane
