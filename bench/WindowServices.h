#pragma once

#include "bench/BenchSupport.h"
#include "platform/RandomSource.h"
#include "platform/ShellExecute.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtProgramStarter.h"
#include "platform/qt/QtSkinFramework.h"

namespace tabulane::bench {

// The window's Help, skin and home-page services for a benchmark: real components, but the shell opens nothing.
struct WindowServices {
    NoShell shell;
    OpeningShellExecutor shellExecutor{shell};
    QtProgramStarter programStarter;
    SeededRandomSource random;
    QtClock clock;
    QtSkinFramework skinFramework;
};

}  // namespace tabulane::bench
