#pragma once

// The temporary names of the POSIX writers (NativeFileSystem.cpp): how they are made, and which of them are removed
// when a signal (SIGINT, SIGTERM, SIGHUP, SIGXFSZ) or exit() ends the process while they exist.
#ifndef _WIN32

#include <string>

namespace tabulane {

// The hidden name of a temporary file in folder for the target name: "." + the name (shortened at a character
// boundary so the whole fits NAME_MAX) + "." + six characters that FillRandomSuffix or mkstemp fills.
std::string TemporaryName(const std::string& folder, const std::string& name);

// Fills the last six characters of name with random letters and digits.
void FillRandomSuffix(std::string& name);

// Registers path to be removed if the process ends before ReleaseTemporaryName; returns the slot to release, or -1
// when every slot is taken (that file is then just not cleaned up). Safe to release -1.
int RegisterTemporaryName(const std::string& path);
void ReleaseTemporaryName(int slot);

}  // namespace tabulane

#endif  // _WIN32
