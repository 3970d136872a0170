#pragma once

#include <cstdint>
#include <string>

#include "platform/SkinFramework.h"

namespace tabulane {

// The skin component's dispatch identifiers as both windows' components answer them; each window's component says
// only how a skin file is loaded and how the loaded skin is applied to a window.
//   2 (method: file path, section): loads and checks the file; one that cannot be read, is not UTF-8 or whose
//     braces do not balance is refused. The section is accepted and has no use here.
//   1 (integer), 5 and 10 (truth values): kept as set; the components have no use for them.
//   3 (method: window handle): applies the loaded skin to the main window with that handle.
class SkinComponent : public SkinFramework {
public:
    void Invoke(int dispatchId, const std::vector<DispatchValue>& arguments) final;
    DispatchValue GetProperty(int dispatchId) final;
    void SetProperty(int dispatchId, const DispatchValue& value) final;

protected:
    virtual void LoadSkin(const std::string& path) = 0;
    // Throws PlatformError 5 when no skin is loaded or no main window has that handle.
    virtual void ApplyToWindow(std::int32_t handle) = 0;

private:
    std::int32_t m_options = 0;
    bool m_option5 = false;
    bool m_option10 = false;
};

}  // namespace tabulane
