#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/PlatformError.h"
#include "platform/SkinFramework.h"

namespace tabulane::test {

// Logs every call as text, e.g. `Invoke 2 ("/p/x/o.cjs", "")`, `Get 1`, `Set 5 = true`; properties read back what
// was set (0 before). A dispatch id in failOn makes its call throw, as a component refusing it would.
class FakeSkinFramework final : public SkinFramework {
public:
    void Invoke(int dispatchId, const std::vector<DispatchValue>& arguments) override {
        std::string text = "Invoke " + std::to_string(dispatchId) + " (";
        for (std::size_t i = 0; i < arguments.size(); ++i) {
            text += (i > 0 ? ", " : "") + Show(arguments[i]);
        }
        Enter(dispatchId, text + ")");
    }
    DispatchValue GetProperty(int dispatchId) override {
        Enter(dispatchId, "Get " + std::to_string(dispatchId));
        const auto found = properties.find(dispatchId);
        return found != properties.end() ? found->second : DispatchValue(std::int32_t{0});
    }
    void SetProperty(int dispatchId, const DispatchValue& value) override {
        Enter(dispatchId, "Set " + std::to_string(dispatchId) + " = " + Show(value));
        properties[dispatchId] = value;
    }

    std::vector<std::string> calls;
    std::map<int, DispatchValue> properties;
    std::set<int> failOn;

private:
    static std::string Show(const DispatchValue& value) {
        if (const auto* text = std::get_if<std::string>(&value)) {
            return "\"" + *text + "\"";
        }
        if (const auto* truth = std::get_if<bool>(&value)) {
            return *truth ? "true" : "false";
        }
        return std::to_string(std::get<std::int32_t>(value));
    }
    void Enter(int dispatchId, const std::string& text) {
        calls.push_back(text);
        if (failOn.count(dispatchId) > 0) {
            throw PlatformError(5, "The skin cannot be loaded");
        }
    }
};

}  // namespace tabulane::test
