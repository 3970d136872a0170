#pragma once

#include <QString>
#include <cstdint>

#include "platform/SkinComponent.h"

namespace tabulane {

// The skin component on Qt: the skin file is a Qt style sheet in UTF-8, applied to the window as it stands.
class QtSkinFramework final : public SkinComponent {
protected:
    void LoadSkin(const std::string& path) override;
    void ApplyToWindow(std::int32_t handle) override;

private:
    QString m_styleSheet;
};

}  // namespace tabulane
