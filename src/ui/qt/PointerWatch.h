#pragma once

#include <QObject>

#include "ui/Form1Logic.h"
#include "ui/qt/DesignBuilder.h"

class QWidget;

namespace tabulane {

// The window's mouse moves, handed to the logic by the design name of the control under the pointer: the list's
// own parts (viewport, header) count as the list, and a move over a control never reaches the frame around it.
class PointerWatch final : public QObject {
public:
    PointerWatch(QWidget& window, const Form1Controls& controls, Form1Logic& logic);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const Form1Controls& m_controls;
    Form1Logic& m_logic;
};

}  // namespace tabulane
