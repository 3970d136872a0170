#include "ui/win32/Win32SkinFramework.h"

#include <windows.h>

#include "platform/PlatformError.h"
#include "platform/StyleSheetFile.h"
#include "ui/win32/Form1.h"

namespace tabulane::win32 {
namespace {

constexpr int kLoadSkin = 2;
constexpr int kOptions = 1;
constexpr int kOption5 = 5;
constexpr int kOption10 = 10;
constexpr int kApplyToWindow = 3;

// Our error numbers for a call the skin component cannot make.
constexpr int kInvalidProcedureCall = 5;
constexpr int kArgumentNotOptional = 449;
constexpr int kNotSupported = 438;

template <typename Value>
const Value& Argument(const std::vector<DispatchValue>& arguments) {
    if (arguments.empty()) {
        throw PlatformError(kArgumentNotOptional, "Argument not optional");
    }
    if (const auto* value = std::get_if<Value>(&arguments.front())) {
        return *value;
    }
    throw PlatformError(ErrorNumber::kTypeMismatch, "Type mismatch");
}

[[noreturn]] void RefuseIdentifier() {
    throw PlatformError(kNotSupported, "Object doesn't support this property or method");
}

}  // namespace

void Win32SkinFramework::Invoke(int dispatchId, const std::vector<DispatchValue>& arguments) {
    if (dispatchId == kLoadSkin) {
        m_style = SkinStyle::Parse(ReadStyleSheetFile(Argument<std::string>(arguments)));
    } else if (dispatchId == kApplyToWindow) {
        ApplyToWindow(Argument<std::int32_t>(arguments));
    } else {
        RefuseIdentifier();
    }
}

DispatchValue Win32SkinFramework::GetProperty(int dispatchId) {
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

void Win32SkinFramework::SetProperty(int dispatchId, const DispatchValue& value) {
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

void Win32SkinFramework::ApplyToWindow(std::int32_t handle) const {
    // Handles of 64-bit Windows fit in 32 bits and are sign-extended back.
    Form1* form = Form1::FromHandle(reinterpret_cast<HWND>(static_cast<std::intptr_t>(handle)));
    if (form == nullptr || !m_style) {
        throw PlatformError(kInvalidProcedureCall, "Invalid procedure call or argument");
    }
    form->ApplySkinStyle(*m_style);
}

}  // namespace tabulane::win32
