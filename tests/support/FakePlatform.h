#pragma once

#include "platform/Platform.h"
#include "support/FakeEnvironment.h"
#include "support/FakeEventLoop.h"
#include "support/FakeFilePicker.h"
#include "support/FakeFolderPicker.h"
#include "support/FakeMessageBoxes.h"
#include "support/FakeProgramStarter.h"
#include "support/FakeSettingsStore.h"
#include "support/FakeShell.h"
#include "support/FakeSkinFramework.h"

namespace tabulane::test {

// Every platform service faked except the file system, which is the real one (tests point it at a TempDir).
struct FakePlatform {
    FakeMessageBoxes boxes;
    FakeSettingsStore settings;
    NativeFileSystem files;
    FakeFolderPicker folderPicker;
    FakeFilePicker filePicker;
    FakeEnvironment environment;
    FakeEventLoop eventLoop;
    FakeShell shell;
    FakeShellExecutor shellExecutor;
    FakeProgramStarter programStarter;
    FakeRandomSource random;
    FakeClock clock;
    FakeSkinFramework skinFramework;
    Platform platform = With(files, folderPicker, eventLoop, skinFramework);

    // The same services with some replaced by a scripted or real one.
    Platform With(FileSystem& fileSystem, FolderPicker& picker, EventLoop& loop, SkinFramework& skin) {
        return {boxes, settings,      fileSystem,     picker, filePicker, environment, loop,
                shell, shellExecutor, programStarter, random, clock,      skin};
    }
    Platform With(FileSystem& fileSystem) { return With(fileSystem, folderPicker, eventLoop, skinFramework); }
    Platform With(FolderPicker& picker) { return With(files, picker, eventLoop, skinFramework); }
    Platform With(EventLoop& loop) { return With(files, folderPicker, loop, skinFramework); }
    Platform With(SkinFramework& skin) { return With(files, folderPicker, eventLoop, skin); }
};

}  // namespace tabulane::test
