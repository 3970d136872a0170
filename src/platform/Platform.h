#pragma once

#include "platform/Clock.h"
#include "platform/Environment.h"
#include "platform/EventLoop.h"
#include "platform/FilePicker.h"
#include "platform/FileSystem.h"
#include "platform/FolderPicker.h"
#include "platform/MessageBoxes.h"
#include "platform/ProgramStarter.h"
#include "platform/RandomSource.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"
#include "platform/ShellExecute.h"
#include "platform/SkinFramework.h"

namespace tabulane {

// Everything the logic reaches outside itself, handed to the window and the handlers it calls.
// The real program fills it with the Qt and native implementations; tests with fakes.
struct Platform {
    MessageBoxes& boxes;
    SettingsStore& settings;
    FileSystem& files;
    FolderPicker& folderPicker;
    FilePicker& filePicker;
    Environment& environment;
    EventLoop& eventLoop;
    Shell& shell;
    ShellExecutor& shellExecutor;
    ProgramStarter& programStarter;
    RandomSource& random;
    Clock& clock;
    SkinFramework& skinFramework;
};

}  // namespace tabulane
