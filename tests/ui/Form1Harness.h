#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <memory>
#include <string>

#include "support/FakePlatform.h"
#include "support/TempDir.h"
#include "ui/Form1.h"

namespace tabulane::test {

// A fresh window over fake dialogs and a fake store; the program folder is a temporary folder.
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
