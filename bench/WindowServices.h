#pragma once

#include <QPushButton>
#include <QString>

#include "bench/BenchSupport.h"
#include "platform/Platform.h"
#include "platform/RandomSource.h"
#include "platform/ShellExecute.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtProgramStarter.h"
#include "platform/qt/QtSkinFramework.h"
#include "ui/qt/Form1.h"

namespace tabulane::bench {

// The window's Help, skin and home-page services for a benchmark: real components, but the shell opens nothing.
struct WindowServices {
    NoShell shell;
    OpeningShellExecutor shellExecutor{shell};
    QtProgramStarter programStarter;
    SeededRandomSource random;
    QtClock clock;
    QtSkinFramework skinFramework;
    NoFilePicker filePicker;

    // The platform of a benchmark's window: the given services, and these for Help, the skin and the home page.
    Platform With(MessageBoxes& boxes, SettingsStore& settings, FileSystem& files, FolderPicker& folderPicker,
                  Environment& environment, EventLoop& eventLoop) {
        return {boxes, settings,      files,          folderPicker, filePicker, environment,  eventLoop,
                shell, shellExecutor, programStarter, random,       clock,      skinFramework};
    }
};

// The real window with its file list wired as the program wires it, loaded and shown (offscreen in a benchmark).
struct ShownWindow {
    Form1 form;
    Form1Logic& logic;

    explicit ShownWindow(Platform& platform) : form(platform, [] {}), logic(form.Logic()) {
        form.Load({});
        form.ShowCentred();
    }

    // A click on one of the window's buttons, found by its design name.
    void Click(const char* button) { form.findChild<QPushButton*>(QString::fromUtf8(button))->click(); }
};

}  // namespace tabulane::bench
