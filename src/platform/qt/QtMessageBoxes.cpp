#include "platform/qt/QtMessageBoxes.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QString>
#include <QWidget>
#include <iostream>
#include <string_view>

#include "platform/DisplayProbe.h"
#include "platform/HeadlessBoxes.h"

namespace tabulane {
namespace {

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QMessageBox::Icon ToQtIcon(BoxIcon icon) {
    switch (icon) {
        case BoxIcon::Exclamation:
            return QMessageBox::Warning;
        case BoxIcon::Information:
            return QMessageBox::Information;
        case BoxIcon::Question:
            return QMessageBox::Question;
        case BoxIcon::Critical:
            return QMessageBox::Critical;
        case BoxIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

QtMessageBoxes::QtMessageBoxes(std::ostream& errors) : m_errors(errors) {}

QtMessageBoxes::QtMessageBoxes() : QtMessageBoxes(std::cerr) {}

QtMessageBoxes::QtMessageBoxes(std::ostream& errors, bool headless) : m_errors(errors), m_forcedHeadless(headless) {}

bool QtMessageBoxes::Headless() const {
    if (m_forcedHeadless.has_value()) {
        return *m_forcedHeadless;
    }
    // Widgets need a running QApplication; without one (or on an offscreen platform) nothing can be shown.
    const auto* application = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (application == nullptr || IsOffscreenPlatform(QApplication::platformName().toStdString())) {
        return true;
    }
    return IsHeadless(ReadDisplayEnvironment());
}

BoxAnswer QtMessageBoxes::ShowMessage(const std::string& text, const std::string& caption, BoxIcon icon,
                                      BoxButtons buttons) {
    if (Headless()) {
        return HeadlessBoxes(m_errors).ShowMessage(text, caption, icon, buttons);
    }
    QMessageBox box(ToQtIcon(icon), ToQString(caption), ToQString(NormaliseLineBreaks(text)), QMessageBox::NoButton,
                    QApplication::activeWindow());
    // File names and error texts are shown as they are, never interpreted as markup.
    box.setTextFormat(Qt::PlainText);
    if (buttons == BoxButtons::Ok) {
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        box.exec();
        return BoxAnswer::Ok;
    }
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    // Closing the box or pressing Escape counts as No.
    return box.exec() == QMessageBox::Yes ? BoxAnswer::Yes : BoxAnswer::No;
}

std::string QtMessageBoxes::InputBox(const std::string& prompt, const std::string& title, const std::string& preset) {
    if (Headless()) {
        return HeadlessBoxes(m_errors).InputBox(prompt, title, preset);
    }
    bool accepted = false;
    const QString answer =
        QInputDialog::getText(QApplication::activeWindow(), ToQString(title), ToQString(NormaliseLineBreaks(prompt)),
                              QLineEdit::Normal, ToQString(preset), &accepted);
    return accepted ? answer.toUtf8().toStdString() : std::string();
}

}  // namespace tabulane
