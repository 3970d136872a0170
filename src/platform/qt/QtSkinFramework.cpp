#include "platform/qt/QtSkinFramework.h"

#include <QApplication>
#include <QWidget>

#include "platform/PlatformError.h"
#include "platform/StyleSheetFile.h"

namespace tabulane {
namespace {

constexpr int kLoadSkin = 2;
constexpr int kOptions = 1;
constexpr int kOption5 = 5;
constexpr int kOption10 = 10;
constexpr int kApplyToWindow = 3;

const std::string& TextArgument(const DispatchValue& value) {
    if (const auto* text = std::get_if<std::string>(&value)) {
        return *text;
    }
    throw PlatformError(ErrorNumber::kTypeMismatch, "Type mismatch");
}

[[noreturn]] void RefuseIdentifier() {
    throw PlatformError(ErrorNumber::kNotSupported, "Object doesn't support this property or method");
}

void RequireArguments(const std::vector<DispatchValue>& arguments, std::size_t count) {
    if (arguments.size() < count) {
        throw PlatformError(ErrorNumber::kArgumentNotOptional, "Argument not optional");
    }
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
    m_styleSheet = QString::fromStdString(ReadStyleSheetFile(path));
}

void QtSkinFramework::ApplyToWindow(std::int32_t handle) const {
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
