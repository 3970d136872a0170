#pragma once

#include <string>
#include <string_view>

namespace tabulane {

// The skin file, in the subfolder "x" of the program's folder.
inline constexpr const char* kSkinFolder = "x";
inline constexpr const char* kSkinFile = "o.cjs";

// Where the skin file is looked for, beside the program in the given folder.
std::string SkinFilePath(const std::string& programFolder);

// Checks a style sheet's text: valid UTF-8 and braces that balance outside comments and quoted strings.
// Throws PlatformError 5 with a description of what is wrong.
void CheckStyleSheet(std::string_view text);

// Reads a skin's style sheet from a file and checks it. Throws PlatformError: 53 for a missing file, 70 for one
// that cannot be opened or is a folder, 57 for a read error, 5 for a file too large or not a style sheet.
std::string ReadStyleSheetFile(const std::string& path);

}  // namespace tabulane
