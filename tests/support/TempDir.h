#pragma once

#include <filesystem>
#include <string>

namespace tabulane::test {

// A fresh folder under the system's temporary folder, removed with everything in it at the end of the test.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    // The full path of a name inside the folder, as UTF-8 text with the platform's separators ("in/a.txt" may be
    // given with "/" on every platform).
    std::string File(const std::string& name) const;

private:
    std::filesystem::path m_path;
};

// A path given as UTF-8 text (std::filesystem would take narrow text in the ANSI code page on Windows).
std::filesystem::path PathFromText(const std::string& text);

// A made-up path written POSIX-style, in the platform's style: on Windows "/a/b" reads "C:\a\b" and "/" reads "C:\".
std::string NativePath(const std::string& posixPath);

// True on Wine, which keeps fewer file attributes than Windows does (no archive bit on folders).
bool RunningUnderWine();

// Whole-file helpers for byte-exact checks.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

#ifndef _WIN32
// A Unix socket bound at path (an entry that is neither file nor folder); returns its descriptor, or -1.
int BindUnixSocket(const std::string& path);
#endif

}  // namespace tabulane::test
