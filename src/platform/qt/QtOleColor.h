#pragma once

#include <QColor>

#include "platform/SkinnableWindow.h"

namespace tabulane {

// A colour as the design writes it: &H00BBGGRR, or &H800000nn for the platform's system colour nn, taken from the
// application's palette. Throws PlatformError 380 "Invalid property value" for a system colour it does not know.
QColor ColorFromOle(OleColor color);

}  // namespace tabulane
