#pragma once

#include "bench/BenchSupport.h"
#include "platform/Platform.h"
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

    // The platform of a benchmark's window: the given services, and these for Help, the skin and the home page.
    Platform With(MessageBoxes& boxes, SettingsStore& settings, FileSystem& files, FolderPicker& folderPicker,
                  Environment& environment, EventLoop& eventLoop) {
        return {boxes, settings,      files,          folderPicker, environment, eventLoop,
                shell, shellExecutor, programStarter, random,       clock,       skinFramework};
    }
};

}  // namespace tabulane::bench
