#include "platform/qt/QtMessageBoxes.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QString>
#include <QWidget>
#include <cstdlib>
#include <iostream>
#include <string_view>

namespace tabulane {
namespace {

#if defined(_WIN32) || defined(__APPLE__)
constexpr bool kWindowsNeedDisplayServer = false;
#else
constexpr bool kWindowsNeedDisplayServer = true;
#endif

std::string ReadVariable(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

// QT_QPA_PLATFORM may name a list ("wayland;xcb") with options ("offscreen:fontengine=freetype");
// Qt tries the first entry first.
std::string_view FirstPlatformName(std::string_view platform) {
    return platform.substr(0, platform.find_first_of(";:"));
}

bool IsOffscreenPlatform(std::string_view name) {
    return name == "offscreen" || name == "minimal";
}

// Line breaks of any form become '\n'.
std::string NormaliseLineBreaks(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            result += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            result += text[i];
        }
    }
    return result;
}

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

bool IsHeadless(const DisplayEnvironment& environment) {
    if (IsOffscreenPlatform(FirstPlatformName(environment.qpaPlatform))) {
        return true;
    }
    return kWindowsNeedDisplayServer && environment.display.empty() && environment.waylandDisplay.empty();
}

DisplayEnvironment ReadDisplayEnvironment() {
    return {ReadVariable("DISPLAY"), ReadVariable("WAYLAND_DISPLAY"), ReadVariable("QT_QPA_PLATFORM")};
}

void WriteHeadlessBox(std::ostream& out, const std::string& caption, const std::string& text) {
    if (!caption.empty()) {
        out << caption << '\n';
    }
    out << NormaliseLineBreaks(text) << '\n';
    out.flush();
}

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
    const BoxAnswer unattended = buttons == BoxButtons::Ok ? BoxAnswer::Ok : BoxAnswer::No;
    if (Headless()) {
        WriteHeadlessBox(m_errors, caption, text);
        return unattended;
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
        WriteHeadlessBox(m_errors, title, prompt);
        return {};
    }
    bool accepted = false;
    const QString answer =
        QInputDialog::getText(QApplication::activeWindow(), ToQString(title), ToQString(NormaliseLineBreaks(prompt)),
                              QLineEdit::Normal, ToQString(preset), &accepted);
    return accepted ? answer.toUtf8().toStdString() : std::string();
}

}  // namespace tabulane
