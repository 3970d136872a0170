#pragma once

#include "platform/MainWindow.h"
#include "platform/Platform.h"
#include "platform/SettingsStore.h"
#include "shell/ErrorReport.h"

namespace tabulane {

// The title of the folder picker wherever the window opens it.
inline constexpr const char* kSelectFolderTitle = "Please select folder:";

// A click on either output option: both states are stored as True/False and the folder box and its browse
// button are usable only while results go to the chosen folder.
void Option1_Click(MainWindow& window, SettingsStore& settings);
void Option2_Click(MainWindow& window, SettingsStore& settings);

// Every change of the folder box, typed or set by the program, is stored at once; it is checked only at a run.
void Text1_Change(const OutputControls& window, SettingsStore& settings);

// The browse button: picks a folder starting at the last one picked and puts it, with exactly one trailing
// separator, into the folder box (which stores it through Text1_Change). Cancelling changes nothing.
void PushButton8_Click(MainWindow& window, Platform& platform, ErrorReporter& reporter);

}  // namespace tabulane
