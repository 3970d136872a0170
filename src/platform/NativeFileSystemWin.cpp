// The Windows file system; NativeFileSystem.cpp holds the POSIX one.
#ifdef _WIN32

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <random>
#include <string>

#include "platform/FileSystem.h"
#include "platform/PlatformError.h"
#include "platform/TextCodes.h"

namespace tabulane {
namespace {

// Paths this long are passed in the \\?\ form, which lifts the MAX_PATH limit; below it the ordinary form keeps
// relative paths and "/" separators working. 248 is the shortest limit of the calls used (a folder's own path).
constexpr std::size_t kLongPathFrom = MAX_PATH - 12;

// A path for the wide Win32 calls: converted from UTF-8, and made absolute in the \\?\ form when it is long.
std::wstring Win32Path(const std::string& path) {
    std::wstring wide = WideFromUtf8(path);
    if (wide.size() < kLongPathFrom || wide.starts_with(LR"(\\?\)")) {
        return wide;
    }
    const DWORD length = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (length == 0) {
        return wide;
    }
    std::wstring full(length, L'\0');
    const DWORD written = ::GetFullPathNameW(wide.c_str(), length, full.data(), nullptr);
    full.resize(written);
    if (full.starts_with(LR"(\\)")) {
        return LR"(\\?\UNC\)" + full.substr(2);  // a network path: \\server\share\... -> \\?\UNC\server\share\...
    }
    return LR"(\\?\)" + full;
}

// The attribute values the rest of the program knows. Windows sets others on its own (not content indexed on
// the profile's junctions, for one), and the folder walk compares whole values: a hidden system folder must read
// 22 whatever else the system marked on it.
int KnownAttributes(DWORD attributes) {
    return static_cast<int>(attributes &
                            (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                             FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_REPARSE_POINT));
}

PlatformError LastError(const std::string& path) {
    return ErrorFromSystemCode(::GetLastError(), path);
}

class FileReader final : public ByteReader {
public:
    FileReader(HANDLE handle, std::string path) : m_handle(handle), m_path(std::move(path)) {}
    ~FileReader() override { ::CloseHandle(m_handle); }

    std::size_t Read(char* buffer, std::size_t size) override {
        DWORD got = 0;
        const DWORD ask = static_cast<DWORD>(size > 0x40000000 ? 0x40000000 : size);
        if (!::ReadFile(m_handle, buffer, ask, &got, nullptr)) {
            throw LastError(m_path);
        }
        return got;
    }

private:
    HANDLE m_handle;
    std::string m_path;
};

// Writes to a hidden file beside the target and moves it over the target on Commit, as the POSIX writer does.
// The result gets the attributes the replaced file had (a new file the ordinary ones), never the hidden flag.
class ReplacingWriter final : public ByteWriter {
public:
    ReplacingWriter(std::string target, std::wstring temp, HANDLE handle, DWORD finalAttributes)
        : m_target(std::move(target)), m_temp(std::move(temp)), m_handle(handle), m_finalAttributes(finalAttributes) {}

    ~ReplacingWriter() override {
        if (m_handle != INVALID_HANDLE_VALUE) {
            ::CloseHandle(m_handle);
        }
        if (!m_committed) {
            ::DeleteFileW(m_temp.c_str());
        }
    }

    void Write(const char* data, std::size_t size) override {
        while (size > 0) {
            DWORD written = 0;
            const DWORD ask = static_cast<DWORD>(size > 0x40000000 ? 0x40000000 : size);
            if (!::WriteFile(m_handle, data, ask, &written, nullptr)) {
                throw LastError(m_target);
            }
            data += written;
            size -= written;
        }
    }

    void Commit() override {
        const HANDLE handle = m_handle;
        m_handle = INVALID_HANDLE_VALUE;
        if (!::CloseHandle(handle) || !::SetFileAttributesW(m_temp.c_str(), m_finalAttributes) ||
            !::MoveFileExW(m_temp.c_str(), Win32Path(m_target).c_str(), MOVEFILE_REPLACE_EXISTING)) {
            throw LastError(m_target);
        }
        m_committed = true;
    }

private:
    std::string m_target;
    std::wstring m_temp;
    HANDLE m_handle;
    DWORD m_finalAttributes;
    bool m_committed = false;
};

// The folder part of a path, with its trailing separator ("" for a bare name: the current folder).
std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Creates a new hidden temporary file in folder. GetTempFileNameW is not used: it refuses folders longer than
// MAX_PATH, and a unique name of our own is as good.
HANDLE CreateTemporaryFile(const std::string& folder, const std::string& target, std::wstring& temp) {
    static std::mt19937 random(static_cast<std::mt19937::result_type>(::GetTickCount64() ^ ::GetCurrentProcessId()));
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, ".~tab%08x.tmp", static_cast<unsigned>(random()));
        temp = Win32Path(folder + name);
        const HANDLE handle =
            ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr);
        if (handle != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS) {
            if (handle == INVALID_HANDLE_VALUE) {
                throw LastError(target);
            }
            return handle;
        }
    }
    throw LastError(target);
}

}  // namespace

bool NativeFileSystem::Exists(const std::string& path) {
    return !path.empty() && ::GetFileAttributesW(Win32Path(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

int NativeFileSystem::GetAttributes(const std::string& path) {
    const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(Win32Path(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        if (path.empty()) {
            ::SetLastError(ERROR_FILE_NOT_FOUND);
        }
        throw LastError(path);
    }
    return KnownAttributes(attributes);
}

std::unique_ptr<ByteReader> NativeFileSystem::OpenRead(const std::string& path, InputKind kind) {
    if (path.empty()) {
        throw PlatformError(ErrorNumber::kBadFileName, "Bad file name or number");
    }
    // Reading shares everything, as on POSIX: other programs may still rename or delete the file meanwhile.
    const HANDLE handle =
        ::CreateFileW(Win32Path(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        throw LastError(path);
    }
    if (kind == InputKind::RegularFile && ::GetFileType(handle) != FILE_TYPE_DISK) {
        ::CloseHandle(handle);
        throw PlatformError(ErrorNumber::kPathFileAccess, "Not a regular file (a device or pipe): " + path);
    }
    return std::make_unique<FileReader>(handle, path);
}

std::unique_ptr<ByteWriter> NativeFileSystem::CreateReplacing(const std::string& path) {
    static_cast<void>(m_temporaries);  // a named temporary file is the only kind here
    if (path.empty()) {
        throw PlatformError(ErrorNumber::kBadFileName, "Bad file name or number");
    }
    const DWORD attributes = ::GetFileAttributesW(Win32Path(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
        throw PlatformError(ErrorNumber::kPermissionDenied, "Permission denied: " + path);
    }
    const DWORD finalAttributes = attributes == INVALID_FILE_ATTRIBUTES ? FILE_ATTRIBUTE_ARCHIVE : attributes;
    std::wstring temp;
    const HANDLE handle = CreateTemporaryFile(FolderOf(path), path, temp);
    return std::make_unique<ReplacingWriter>(path, temp, handle, finalAttributes);
}

namespace {

// Closes a find handle however the listing ends.
struct FindCloser {
    void operator()(HANDLE handle) const { ::FindClose(handle); }
};

std::string Narrow(const wchar_t* text) {
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) {
        return {};
    }
    std::string narrow(static_cast<std::size_t>(length - 1), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, narrow.data(), length, nullptr, nullptr);
    return narrow;
}

// Folder calls name a missing folder "Path not found", as the folder walk expects.
PlatformError FolderError(const std::string& path) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_DIRECTORY) {
        return PlatformError(ErrorNumber::kPathNotFound, "Path not found: " + path);
    }
    ::SetLastError(error);
    return LastError(path);
}

}  // namespace

bool NativeFileSystem::IsRegularFile(const std::string& path) {
    const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(Win32Path(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

FolderInfo NativeFileSystem::GetFolder(const std::string& path) {
    const std::wstring wide = Win32Path(path);
    const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        ::SetLastError(attributes == INVALID_FILE_ATTRIBUTES ? ::GetLastError() : ERROR_DIRECTORY);
        throw FolderError(path);
    }
    FolderInfo info;
    info.attributes = KnownAttributes(attributes);
    wchar_t volume[MAX_PATH + 1] = {};
    wchar_t full[MAX_PATH + 1] = {};
    if (::GetVolumePathNameW(wide.c_str(), volume, MAX_PATH) &&
        ::GetFullPathNameW(wide.c_str(), MAX_PATH, full, nullptr) > 0) {
        std::wstring fullPath = full;
        if (fullPath.empty() || fullPath.back() != L'\\') {
            fullPath += L'\\';
        }
        info.isRoot = _wcsicmp(fullPath.c_str(), volume) == 0;
    }
    const HANDLE handle = ::CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        BY_HANDLE_FILE_INFORMATION about{};
        if (::GetFileInformationByHandle(handle, &about)) {
            info.id = {about.dwVolumeSerialNumber,
                       (static_cast<std::uint64_t>(about.nFileIndexHigh) << 32) | about.nFileIndexLow};
        }
        ::CloseHandle(handle);
    }
    return info;
}

std::vector<FolderEntry> NativeFileSystem::List(const std::string& path, bool foldersOnly) {
    std::wstring pattern = Win32Path(path);
    if (pattern.empty() || (pattern.back() != L'\\' && pattern.back() != L'/')) {
        pattern += L'\\';
    }
    pattern += L'*';
    WIN32_FIND_DATAW found{};
    const HANDLE handle = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                             foldersOnly ? FindExSearchLimitToDirectories : FindExSearchNameMatch,
                                             nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (handle == INVALID_HANDLE_VALUE) {
        throw FolderError(path);
    }
    const std::unique_ptr<void, FindCloser> closer(handle);
    std::vector<FolderEntry> entries;
    do {
        const std::wstring name = found.cFileName;
        const bool folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (name != L"." && name != L".." && (folder || !foldersOnly)) {
            const DWORD attributes = found.dwFileAttributes;
            entries.push_back({Narrow(found.cFileName), KnownAttributes(attributes),
                               (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0});
        }
    } while (::FindNextFileW(handle, &found));
    if (::GetLastError() != ERROR_NO_MORE_FILES) {
        throw FolderError(path);
    }
    SortListing(entries);
    return entries;
}

}  // namespace tabulane

#endif  // _WIN32
