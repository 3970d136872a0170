#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>
#include <QWidget>
#include <memory>
#include <string>
#include <utility>

#include "support/FakePlatform.h"
#include "support/TempDir.h"
#include "ui/qt/Form1.h"

namespace tabulane::test {

// A control of the window found by its design name, as a tool that drives the window finds it.
template <typename Control = QWidget>
Control* FindControl(const QWidget& window, const std::string& name) {
    auto* control = window.findChild<Control*>(QString::fromStdString(name));
    if (control == nullptr) {
        ADD_FAILURE() << "no control " << name;
    }
    return control;
}

// A fresh window over fake dialogs and a fake store, with the handlers and the list given; the program folder is a
// temporary folder.
class Form1Harness {
public:
    Form1Harness() {
        fake.environment.programFolder = programFolder.Path().string();
        form = std::make_unique<Form1>(fake.platform, [this] { ++endProgramCalls; });
    }

    // The load step, then the window shown as the program shows it (unless the command line ran).
    StartupResult Start(const std::string& argumentText = {}) {
        const StartupResult result = form->Load(argumentText);
        if (!result.commandLineRan) {
            form->ShowCentred();
        }
        return result;
    }

    // The controls, by their design names.
    QPushButton* Button(int number) const {
        return FindControl<QPushButton>(*form, "PushButton" + std::to_string(number));
    }
    QGroupBox* Frame(int number) const { return FindControl<QGroupBox>(*form, "Frame" + std::to_string(number)); }
    QRadioButton* Option(int number) const {
        return FindControl<QRadioButton>(*form, "Option" + std::to_string(number));
    }
    QComboBox* Combo1() const { return FindControl<QComboBox>(*form, "Combo1"); }
    QLineEdit* Text1() const { return FindControl<QLineEdit>(*form, "Text1"); }
    QTreeView* ListView1() const { return FindControl<QTreeView>(*form, "ListView1"); }
    QProgressBar* ProgressBar1() const { return FindControl<QProgressBar>(*form, "ProgressBar1"); }

    Form1Logic& Logic() const { return form->Logic(); }

    TempDir programFolder;
    FakePlatform fake;
    int endProgramCalls = 0;
    std::unique_ptr<Form1> form;
};

// The mouse as the user moves it: one move over the middle of the widget, no button held.
inline void MoveMouseOver(QWidget* widget) {
    const QPointF local(widget->width() / 2.0, widget->height() / 2.0);
    QMouseEvent move(QEvent::MouseMove, local, widget->mapToGlobal(local), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

// A left click in the middle of an enabled button, through the mouse events a real click sends.
inline void Click(QAbstractButton* button) {
    ASSERT_TRUE(button->isEnabled()) << button->objectName().toStdString();
    const QPointF local(button->width() / 2.0, button->height() / 2.0);
    const QPointF global = button->mapToGlobal(local);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(button, &press);
    QApplication::sendEvent(button, &release);
}

inline void PressKey(QWidget* widget, int key, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);
}

inline void Type(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        PressKey(widget, 0, QString(c));
    }
}

}  // namespace tabulane::test
