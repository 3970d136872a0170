#include "platform/qt/QtSkinFramework.h"

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QWidget>

#include "platform/PlatformError.h"

namespace tabulane {
namespace {

constexpr int kLoadSkin = 2;
constexpr int kOptions = 1;
constexpr int kOption5 = 5;
constexpr int kOption10 = 10;
constexpr int kApplyToWindow = 3;

// The runtime's answers to a late-bound call it cannot make.
constexpr int kInvalidProcedureCall = 5;
constexpr int kArgumentNotOptional = 449;
constexpr int kNotSupported = 438;
// A style sheet is a few kilobytes; a file far beyond that is not one, and is not read into memory whole.
constexpr qint64 kMaxSkinBytes = 4 * 1024 * 1024;

const std::string& TextArgument(const DispatchValue& value) {
    if (const auto* text = std::get_if<std::string>(&value)) {
        return *text;
    }
    throw PlatformError(ErrorNumber::kTypeMismatch, "Type mismatch");
}

[[noreturn]] void RefuseIdentifier() {
    throw PlatformError(kNotSupported, "Object doesn't support this property or method");
}

void RequireArguments(const std::vector<DispatchValue>& arguments, std::size_t count) {
    if (arguments.size() < count) {
        throw PlatformError(kArgumentNotOptional, "Argument not optional");
    }
}

// Checks a style sheet's text: valid UTF-8 and braces that balance outside comments and quoted strings.
QString ParseStyleSheet(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(bytes);
    if (decoder.hasError()) {
        throw PlatformError(kInvalidProcedureCall, "The skin file is not UTF-8 text");
    }
    int depth = 0;
    QChar quote;
    bool inComment = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const QChar next = i + 1 < text.size() ? text[i + 1] : QChar();
        if (inComment) {
            if (c == u'*' && next == u'/') {
                inComment = false;
                ++i;
            }
        } else if (!quote.isNull()) {
            if (c == u'\\') {
                ++i;  // an escaped character never ends the string
            } else if (c == quote) {
                quote = QChar();
            }
        } else if (c == u'/' && next == u'*') {
            inComment = true;
            ++i;
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u'{') {
            ++depth;
        } else if (c == u'}' && --depth < 0) {
            break;
        }
    }
    if (depth != 0 || inComment || !quote.isNull()) {
        throw PlatformError(kInvalidProcedureCall, "The skin file is not a style sheet: its braces do not balance");
    }
    return text;
}

}  // namespace

void QtSkinFramework::Invoke(int dispatchId, const std::vector<DispatchValue>& arguments) {
    if (dispatchId == kLoadSkin) {
        RequireArguments(arguments, 1);
        LoadSkin(TextArgument(arguments[0]));
    } else if (dispatchId == kApplyToWindow) {
        RequireArguments(arguments, 1);
        const auto* handle = std::get_if<std::int32_t>(&arguments[0]);
        if (handle == nullptr) {
            throw PlatformError(ErrorNumber::kTypeMismatch, "Type mismatch");
        }
        ApplyToWindow(*handle);
    } else {
        RefuseIdentifier();
    }
}

DispatchValue QtSkinFramework::GetProperty(int dispatchId) {
    switch (dispatchId) {
        case kOptions:
            return m_options;
        case kOption5:
            return m_option5;
        case kOption10:
            return m_option10;
        default:
            RefuseIdentifier();
    }
}

void QtSkinFramework::SetProperty(int dispatchId, const DispatchValue& value) {
    if (dispatchId == kOptions && std::holds_alternative<std::int32_t>(value)) {
        m_options = std::get<std::int32_t>(value);
    } else if ((dispatchId == kOption5 || dispatchId == kOption10) && std::holds_alternative<bool>(value)) {
        (dispatchId == kOption5 ? m_option5 : m_option10) = std::get<bool>(value);
    } else if (dispatchId == kOptions || dispatchId == kOption5 || dispatchId == kOption10) {
        throw PlatformError(ErrorNumber::kTypeMismatch, "Type mismatch");
    } else {
        RefuseIdentifier();
    }
}

void QtSkinFramework::LoadSkin(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.exists()) {
        throw PlatformError(ErrorNumber::kFileNotFound, "File not found");
    }
    if (QFileInfo(file).isDir() || !file.open(QIODevice::ReadOnly)) {
        throw PlatformError(ErrorNumber::kPermissionDenied, "Permission denied");
    }
    const QByteArray bytes = file.read(kMaxSkinBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        throw PlatformError(ErrorNumber::kDeviceIoError, "Device I/O error");
    }
    if (bytes.size() > kMaxSkinBytes) {
        throw PlatformError(kInvalidProcedureCall, "The skin file is too large to be a style sheet");
    }
    m_styleSheet = ParseStyleSheet(bytes);
}

void QtSkinFramework::ApplyToWindow(std::int32_t handle) const {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        // internalWinId: asking every window for its handle would create one for each.
        if (window->internalWinId() != 0 && static_cast<std::int32_t>(window->internalWinId()) == handle) {
            window->setStyleSheet(m_styleSheet);
            return;
        }
    }
    throw PlatformError(kInvalidProcedureCall, "Invalid procedure call or argument");
}

}  // namespace tabulane
