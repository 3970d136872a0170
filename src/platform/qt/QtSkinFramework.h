#pragma once

#include <QString>
#include <cstdint>

#include "platform/SkinFramework.h"

namespace tabulane {

// The skin component on Qt: the skin file is a Qt style sheet in UTF-8.
//   2 (method: file path, section): loads and checks the file; one that cannot be read, is not UTF-8 or whose
//     braces do not balance is refused. The section is accepted and has no use here.
//   1 (integer), 5 and 10 (truth values): kept as set; this component has no use for them.
//   3 (method: window handle): applies the loaded sheet to the top-level window with that handle.
class QtSkinFramework final : public SkinFramework {
public:
    void Invoke(int dispatchId, const std::vector<DispatchValue>& arguments) override;
    DispatchValue GetProperty(int dispatchId) override;
    void SetProperty(int dispatchId, const DispatchValue& value) override;

private:
    void LoadSkin(const std::string& path);
    void ApplyToWindow(std::int32_t handle) const;

    QString m_styleSheet;
    std::int32_t m_options = 0;
    bool m_option5 = false;
    bool m_option10 = false;
};

}  // namespace tabulane
