#include "cli/HiddenWindow.h"

namespace tabulane {

void HiddenWindow::AddListColumn(const std::string& header, int widthTwips) {
    m_columnHeader = header;
    m_columnWidth = widthTwips;
}

}  // namespace tabulane
