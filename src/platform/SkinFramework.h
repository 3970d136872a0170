#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace tabulane {

// A value passed to or read from the skin component.
using DispatchValue = std::variant<bool, std::int32_t, std::string>;

// The skin component, reached only through its dispatch identifiers as a late-bound component is. What each
// identifier means is the component's business; it accepts every call the window makes and may ignore the rest.
// A call it refuses (a skin file it cannot load, an identifier it does not know) throws PlatformError.
class SkinFramework {
public:
    virtual ~SkinFramework() = default;
    virtual void Invoke(int dispatchId, const std::vector<DispatchValue>& arguments) = 0;
    virtual DispatchValue GetProperty(int dispatchId) = 0;
    virtual void SetProperty(int dispatchId, const DispatchValue& value) = 0;
};

}  // namespace tabulane
