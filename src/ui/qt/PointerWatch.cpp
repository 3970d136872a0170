#include "ui/qt/PointerWatch.h"

#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTreeView>
#include <QWidget>
#include <vector>

#include "ui/Form1Design.h"

namespace tabulane {

PointerWatch::PointerWatch(QWidget& window, const Form1Controls& controls, Form1Logic& logic)
    : QObject(&window), m_controls(controls), m_logic(logic) {
    // The list's moves arrive at its viewport and header, which belong to it.
    QTreeView* list = controls.ListView1;
    std::vector<QWidget*> listParts{list->viewport(), list->header(), list->header()->viewport()};
    std::vector<QWidget*> watched{&window};
    watched.insert(watched.end(), controls.inDesignOrder.begin(), controls.inDesignOrder.end());
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
    for (QWidget* control : controls.inDesignOrder) {
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
    QTreeView* list = m_controls.ListView1;
    const QObject* over = watched;
    if (over->parent() == list || over->parent() == list->header()) {
        over = list;
    }
    for (std::size_t at = 0; at < kForm1Controls.size(); ++at) {
        if (m_controls.inDesignOrder[at] == over) {
            m_logic.MouseMove(kForm1Controls[at].name);
            return false;
        }
    }
    if (over == m_controls.window) {
        m_logic.MouseMove(kForm1Design.name);
    }
    return false;
}

}  // namespace tabulane
