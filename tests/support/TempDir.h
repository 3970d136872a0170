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
    // The full path of a name inside the folder, as text.
    std::string File(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

// Whole-file helpers for byte-exact checks.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

#ifndef _WIN32
// A Unix socket bound at path (an entry that is neither file nor folder); returns its descriptor, or -1.
int BindUnixSocket(const std::string& path);
#endif

}  // namespace tabulane::test
