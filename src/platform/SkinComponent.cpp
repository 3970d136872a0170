#include "platform/SkinComponent.h"

#include "platform/PlatformError.h"

namespace tabulane {
namespace {

constexpr int kLoadSkin = 2;
constexpr int kOptions = 1;
constexpr int kOption5 = 5;
constexpr int kOption10 = 10;
constexpr int kApplyToWindow = 3;

template <typename Value>
const Value& FirstArgument(const std::vector<DispatchValue>& arguments) {
    if (arguments.empty()) {
        throw PlatformError(ErrorNumber::kArgumentNotOptional, "Argument not optional");
    }
    if (const auto* value = std::get_if<Value>(&arguments.front())) {
        return *value;
    }
    throw PlatformError(ErrorNumber::kTypeMismatch, "Type mismatch");
}

[[noreturn]] void RefuseIdentifier() {
    throw PlatformError(ErrorNumber::kNotSupported, "Object doesn't support this property or method");
}

}  // namespace

void SkinComponent::Invoke(int dispatchId, const std::vector<DispatchValue>& arguments) {
    if (dispatchId == kLoadSkin) {
        LoadSkin(FirstArgument<std::string>(arguments));
    } else if (dispatchId == kApplyToWindow) {
        ApplyToWindow(FirstArgument<std::int32_t>(arguments));
    } else {
        RefuseIdentifier();
    }
}

DispatchValue SkinComponent::GetProperty(int dispatchId) {
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

void SkinComponent::SetProperty(int dispatchId, const DispatchValue& value) {
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

}  // namespace tabulane
