#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/SkinFramework.h"
#include "platform/SkinStyle.h"

namespace tabulane::win32 {

// The skin component of the Win32 window. The skin file is the same style sheet the Qt window uses; this component
// reads the colours and borders it names and has the window draw itself with them.
//   2 (method: file path, section): loads and checks the file; one that cannot be read, is not UTF-8 or whose
//     braces do not balance is refused. The section is accepted and has no use here.
//   1 (integer), 5 and 10 (truth values): kept as set; this component has no use for them.
//   3 (method: window handle): restyles the main window with that handle.
class Win32SkinFramework final : public SkinFramework {
public:
    void Invoke(int dispatchId, const std::vector<DispatchValue>& arguments) override;
    DispatchValue GetProperty(int dispatchId) override;
    void SetProperty(int dispatchId, const DispatchValue& value) override;

private:
    void ApplyToWindow(std::int32_t handle) const;

    std::optional<SkinStyle> m_style;
    std::int32_t m_options = 0;
    bool m_option5 = false;
    bool m_option10 = false;
};

}  // namespace tabulane::win32
