#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/SkinComponent.h"
#include "platform/SkinStyle.h"

namespace tabulane::win32 {

// The skin component of the Win32 window. The skin file is the same style sheet the Qt window uses; this component
// reads the colours and borders it names and has the window draw itself with them.
class Win32SkinFramework final : public SkinComponent {
protected:
    void LoadSkin(const std::string& path) override;
    void ApplyToWindow(std::int32_t handle) override;

private:
    std::optional<SkinStyle> m_style;
};

}  // namespace tabulane::win32
