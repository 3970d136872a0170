#pragma once

#include "platform/Platform.h"
#include "support/FakeEnvironment.h"
#include "support/FakeEventLoop.h"
#include "support/FakeFolderPicker.h"
#include "support/FakeMessageBoxes.h"
#include "support/FakeSettingsStore.h"
#include "support/FakeShell.h"

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
    Platform platform{boxes, settings, files, folderPicker, environment, eventLoop, shell};
};

}  // namespace tabulane::test
