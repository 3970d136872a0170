#pragma once

#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace tabulane {

// Windows paths use '\', drive letters and '\\server' shares; POSIX paths use '/'. The running program
// uses the native style; both are available everywhere so each can be tested on every OS.
enum class PathStyle { Windows, Posix };

#ifdef _WIN32
inline constexpr PathStyle kNativePathStyle = PathStyle::Windows;
#else
inline constexpr PathStyle kNativePathStyle = PathStyle::Posix;
#endif

constexpr char SeparatorOf(PathStyle style) {
    return style == PathStyle::Windows ? '\\' : '/';
}

// True when a file or a folder exists at the path; never fails.
bool PathExists(FileSystem& files, const std::string& path);
// True when the path is an existing folder; a missing path is false without any error.
bool IsFolder(FileSystem& files, const std::string& path);

// The text after the last separator (the whole text without one).
std::string GetFileName(std::string_view path, PathStyle style = kNativePathStyle);
// The text up to and including the last separator; empty without one.
std::string GetFolderOfPath(std::string_view path, PathStyle style = kNativePathStyle);
// The text before the last dot anywhere in the path, unless that dot is the first character.
std::string StripExtension(std::string_view path);
// Doubled separators reduced in one pass; a leading run becomes the network form "\\" (Windows) or "/" (POSIX).
std::string CollapseBackslashes(std::string_view path, PathStyle style = kNativePathStyle);
// folder + separator + name, without doubling the separator after a drive root or the POSIX root.
std::string JoinFolderAndName(std::string_view folder, std::string_view name, PathStyle style = kNativePathStyle);

}  // namespace tabulane
