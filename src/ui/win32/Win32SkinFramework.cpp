#include "ui/win32/Win32SkinFramework.h"

#include <windows.h>

#include "platform/PlatformError.h"
#include "platform/StyleSheetFile.h"
#include "ui/win32/Form1.h"

namespace tabulane::win32 {
void Win32SkinFramework::LoadSkin(const std::string& path) {
    m_style = SkinStyle::Parse(ReadStyleSheetFile(path));
}

void Win32SkinFramework::ApplyToWindow(std::int32_t handle) {
    // Handles of 64-bit Windows fit in 32 bits and are sign-extended back.
    Form1* form = Form1::FromHandle(reinterpret_cast<HWND>(static_cast<std::intptr_t>(handle)));
    if (form == nullptr || !m_style) {
        throw PlatformError(ErrorNumber::kInvalidProcedureCall, "Invalid procedure call or argument");
    }
    form->ApplySkinStyle(*m_style);
}

}  // namespace tabulane::win32
