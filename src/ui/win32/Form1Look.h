#pragma once

// What the window's message handling and its drawing share: colours in the system's form and a skin's looks.

#include <windows.h>

#include "platform/SkinStyle.h"
#include "platform/SkinnableWindow.h"
#include "ui/win32/Form1.h"

namespace tabulane::win32 {

inline COLORREF ColorRefFromOle(OleColor color) {
    if ((color & 0x80000000U) != 0) {
        return ::GetSysColor(static_cast<int>(color & 0xFFU));
    }
    return color & 0xFFFFFFU;
}

inline COLORREF ColorRef(const SkinColor& color) {
    return RGB(color.red, color.green, color.blue);
}

// The looks of a skin, as the window draws them.
struct Form1::Skin {
    SkinLook window, frame, option, button, buttonPressed, buttonFocus, buttonDisabled, list, header, field, bar, chunk;
};

}  // namespace tabulane::win32
