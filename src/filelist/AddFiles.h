#pragma once

#include <string>

#include "filelist/FileList.h"
#include "platform/CommonDialog.h"
#include "platform/Platform.h"
#include "shell/ErrorReport.h"

namespace tabulane {

// The settings of the add-files dialog, made at every click.
inline constexpr std::uint32_t kAddFilesDialogFlags =
    OpenFlag::kReadOnly | OpenFlag::kAllowMultiSelect | OpenFlag::kExplorer | OpenFlag::kLongNames;
inline constexpr const char* kAddFilesDialogTitle = "Add File(s) - Hold Ctrl or Shift to select multiple files";
inline constexpr const char* kAddFilesDialogFilter = "All Files (*.*)|*.*|";
inline constexpr const char* kTooManyFilesText =
    "You've selected too many files to add.\r\rPlease try adding via the \"Add All\" button.";

// "Add File(s)": appends every file picked in the dialog as a full path, unchecked and in the dialog's order.
// A selection too long for the dialog's buffer adds nothing and says so; other failures take the error trap.
void PushButton1_Click(CommonDialog& commonDialog1, FileList& list, Platform& platform, ErrorReporter& reporter,
                       const std::string& applicationTitle);

}  // namespace tabulane
