#pragma once

#include <QObject>

#include "platform/MainWindow.h"
#include "ui/qt/DesignBuilder.h"

class QWidget;

namespace tabulane {

// The window's hover handling: mouse moves over the controls set the window's pointer by the hover rules (the hand
// over a push button, the arrow over the background, a frame, the list or the folder box, never over the hourglass).
class PointerWatch final : public QObject {
public:
    PointerWatch(QWidget& window, const Form1Controls& controls, MainWindow& pointer);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const Form1Controls& m_controls;
    MainWindow& m_pointer;
};

}  // namespace tabulane
