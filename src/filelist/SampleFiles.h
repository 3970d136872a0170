#pragma once

#include <string>

#include "filelist/FileList.h"
#include "platform/Platform.h"
#include "shell/ErrorReport.h"
#include "shell/Main.h"

namespace tabulane {

inline constexpr const char* kOpenSamplesQuestion =
    "Would you like this software to open the folder where these sample files are stored (so that you can view them "
    "before working with them)?";

// The "Samples" folder beside the program, with a trailing separator.
std::string SamplesFolder(Platform& platform, PathStyle style = kNativePathStyle);

// Appends every file of the samples folder that the list does not hold yet (exact text), in listing order, then
// always asks whether to open the folder and, on Yes, hands the folder itself to the desktop's opener.
// Throws on failure (the button's trap reports it); a missing or empty folder is no failure.
void LoadSampleFiles(FileList& list, Platform& platform, const std::string& applicationTitle,
                     PathStyle style = kNativePathStyle);

// "Load Sample/Example Files".
void PushButton7_Click(FileList& list, Platform& platform, ErrorReporter& reporter, const std::string& applicationTitle,
                       PathStyle style = kNativePathStyle);

}  // namespace tabulane
