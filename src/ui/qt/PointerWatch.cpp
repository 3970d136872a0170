#include "ui/qt/PointerWatch.h"

#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTreeView>
#include <QWidget>
#include <string>
#include <vector>

#include "shell/HoverPointer.h"

namespace tabulane {

PointerWatch::PointerWatch(QWidget& window, const Form1Controls& controls, MainWindow& pointer)
    : QObject(&window), m_controls(controls), m_pointer(pointer) {
    // The list's moves arrive at its viewport and header, which belong to it.
    QTreeView* list = controls.ListView1;
    const std::vector<QWidget*> designControls = controls.InDesignOrder();
    std::vector<QWidget*> listParts{list->viewport(), list->header(), list->header()->viewport()};
    std::vector<QWidget*> watched{&window};
    for (QWidget* control : designControls) {
        if (HoverSurfaceOf(control->objectName().toStdString()) != HoverSurface::Unhandled) {
            watched.push_back(control);
        }
    }
    watched.insert(watched.end(), listParts.begin(), listParts.end());
    for (QWidget* widget : watched) {
        widget->setMouseTracking(true);
        widget->installEventFilter(this);
    }
    // A move over a control must not reach the frame or the window around it, whose handler would set the arrow:
    // neither after a control's own handler nor over a control that has none.
    std::vector<QWidget*> stopping = listParts;
    if (controls.Combo1->lineEdit() != nullptr) {
        stopping.push_back(controls.Combo1->lineEdit());
    }
    for (QWidget* control : designControls) {
        if (qobject_cast<QGroupBox*>(control) == nullptr) {
            stopping.push_back(control);
        }
    }
    for (QWidget* widget : stopping) {
        widget->setAttribute(Qt::WA_NoMousePropagation);
    }
}

bool PointerWatch::eventFilter(QObject* watched, QEvent* event) {
    // Mouse moves only: entering a control also enters the frames around it, which must not reset the pointer.
    if (event->type() != QEvent::MouseMove) {
        return false;
    }
    // A disabled control takes no mouse input: the move belongs to the first enabled frame or window around it.
    auto* over = qobject_cast<QWidget*>(watched);
    while (over != nullptr && !over->isEnabled()) {
        over = over->parentWidget();
    }
    if (over != nullptr) {
        QTreeView* list = m_controls.ListView1;
        const bool inList = over->parentWidget() == list || over->parentWidget() == list->header();
        const std::string name = (inList ? list : over)->objectName().toStdString();
        m_pointer.SetPointer(PointerAfterHover(m_pointer.Pointer(), HoverSurfaceOf(name)));
    }
    return false;
}

}  // namespace tabulane
