#pragma once

#include "platform/Platform.h"
#include "support/FakeEnvironment.h"
#include "support/FakeEventLoop.h"
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
    FakeEnvironment environment;
    FakeEventLoop eventLoop;
    FakeShell shell;
    FakeShellExecutor shellExecutor;
    FakeProgramStarter programStarter;
    FakeRandomSource random;
    FakeClock clock;
    FakeSkinFramework skinFramework;
    Platform platform = With(folderPicker, eventLoop, skinFramework);

    // The same services with some replaced by a scripted or real one.
    Platform With(FolderPicker& picker, EventLoop& loop, SkinFramework& skin) {
        return {boxes, settings,      files,          picker, environment, loop,
                shell, shellExecutor, programStarter, random, clock,       skin};
    }
    Platform With(FolderPicker& picker) { return With(picker, eventLoop, skinFramework); }
    Platform With(EventLoop& loop) { return With(folderPicker, loop, skinFramework); }
    Platform With(SkinFramework& skin) { return With(folderPicker, eventLoop, skin); }
};

}  // namespace tabulane::test
