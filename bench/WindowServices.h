#pragma once

#include "bench/BenchSupport.h"
#include "platform/Platform.h"
#include "platform/RandomSource.h"
#include "platform/ShellExecute.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtProgramStarter.h"
#include "platform/qt/QtSkinFramework.h"
#include "ui/FileListSession.h"
#include "ui/Form1.h"

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

// The real window with its file list wired as the program wires it, loaded and shown (offscreen in a benchmark).
struct ShownWindow {
    Form1 form;
    FileListSession session;

    ShownWindow(Platform& platform, FilePicker& filePicker) : form(platform, [] {}), session(form, filePicker) {
        Form1Events events;
        session.Wire(events);
        form.SetEvents(std::move(events));
        form.Load({});
        form.ShowCentred();
    }
};

}  // namespace tabulane::bench
