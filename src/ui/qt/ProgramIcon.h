#pragma once

#include <QIcon>
#include <QImage>
#include <vector>

namespace tabulane {

// The sizes the icon is drawn at, for the window and for the desktop's icon theme.
inline const std::vector<int> kProgramIconSizes{16, 24, 32, 48, 64, 128, 256};

// The program's icon, a sheet of cells with a comma, drawn at size x size pixels. The same drawing gives the window
// its icon and, at build time, the icon theme its files, so both always match; it needs no fonts or display.
QImage DrawProgramIcon(int size);

// Every size of the drawing, for the window.
QIcon ProgramIcon();

}  // namespace tabulane
