#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "filelist/FileList.h"
#include "platform/MainWindow.h"
#include "platform/Platform.h"
#include "shell/ErrorReport.h"
#include "shell/Main.h"

namespace tabulane {

inline constexpr const char* kExtensionPrompt =
    "Enter file extension to load:\r\r(* for all files, txt for all txt files, doc for all doc files, etc.)";
inline constexpr const char* kAddFolderPickerTitle = "Please select folder:";

// Attribute values the scan leaves out: hidden + system folders (also as a link), and hidden + archive files.
inline constexpr int kHiddenSystemFolder = 22;
inline constexpr int kHiddenSystemAliasFolder = 1046;
inline constexpr int kHiddenArchiveFile = 34;

// The longest folder path, and folder name, the walk looks at: MAX_PATH on Windows, PATH_MAX on POSIX.
constexpr std::size_t MaxPathOf(PathStyle style) {
    return style == PathStyle::Windows ? 260 : 4096;
}

// True for a name the program cannot carry safely: bytes that are not UTF-8, a control character
// (U+0000 to U+001F, U+007F to U+009F) or "?".
bool HasUnsafeNameCharacter(std::string_view name);

// Wildcard matching as the Windows listing does it: case-insensitive, "*" any run, "?" one character; a pattern
// ending in ".*" also matches names without a dot ("*.*" matches every name), and one ending in "." names without one.
bool MatchesWildcard(std::string_view name, std::string_view pattern);

// True for an existing regular file, judged by its status: a folder, FIFO, device, socket or a name that is not
// UTF-8 answers false, and nothing is ever opened. Never throws.
bool IsExistingFile(FileSystem& files, const std::string& path);

// The names of the files in folder matching pattern, hidden ones included, folders not, in listing order. The pattern
// is matched against names only, so nothing in it reaches a path. A missing folder has no files; other failures throw.
std::vector<std::string> ListFilesInFolder(FileSystem& files, const std::string& folder, std::string_view pattern,
                                           PathStyle style = kNativePathStyle);

// Extends folders (paths ending with a separator) breadth-first with every walkable folder below them: the given
// folders, then their children grouped by parent, then the grandchildren, and so on. Hidden + system folders are
// neither listed nor walked (unless a root); a folder that denies its listing or has vanished is removed; a folder
// reached a second time (a link loop) is removed too. Yields once per folder and once per subfolder; other failures
// take the trap "Marlowdin2021/08/31.AddFolder.GetSubDirectories2016".
void GetSubDirectories2016(std::vector<std::string>& folders, bool recurse, Platform& platform, ErrorReporter& reporter,
                           PathStyle style = kNativePathStyle);

// Appends every file of folder and of each folder below it whose name matches pattern, skipping names that begin
// with "~" and files whose attributes are exactly hidden + archive. Steps are numbered from firstStep in trap.
void AppendFolderTree(ErrorTrap& trap, int firstStep, const std::string& folder, const std::string& pattern,
                      FileList& list, Platform& platform, ErrorReporter& reporter, PathStyle style);

// "Add All File(s) In Folder": asks for an extension and a folder and appends the matching files of the folder tree.
// The hourglass shows while it scans; a scan that starts while a run shows it leaves it in place.
void PushButton3_Click(MainWindow& window, FileList& list, Platform& platform, ErrorReporter& reporter,
                       const std::string& applicationTitle, PathStyle style = kNativePathStyle);

}  // namespace tabulane
