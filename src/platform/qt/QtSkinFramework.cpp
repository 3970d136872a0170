#include "platform/qt/QtSkinFramework.h"

#include <QApplication>
#include <QWidget>

#include "platform/PlatformError.h"
#include "platform/StyleSheetFile.h"

namespace tabulane {
void QtSkinFramework::LoadSkin(const std::string& path) {
    m_styleSheet = QString::fromStdString(ReadStyleSheetFile(path));
}

void QtSkinFramework::ApplyToWindow(std::int32_t handle) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        // internalWinId: asking every window for its handle would create one for each.
        if (window->internalWinId() != 0 && static_cast<std::int32_t>(window->internalWinId()) == handle) {
            window->setStyleSheet(m_styleSheet);
            return;
        }
    }
    throw PlatformError(ErrorNumber::kInvalidProcedureCall, "Invalid procedure call or argument");
}

}  // namespace tabulane
