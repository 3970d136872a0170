#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tabulane {

// File attribute bits, with the Windows values on every platform.
namespace FileAttribute {
constexpr int kReadOnly = 1;
constexpr int kHidden = 2;
constexpr int kSystem = 4;
constexpr int kDirectory = 16;
constexpr int kArchive = 32;
constexpr int kAlias = 1024;
}  // namespace FileAttribute

// Reads a file from start to end. Read returns 0 at the end and throws PlatformError on failure.
class ByteReader {
public:
    virtual ~ByteReader() = default;
    virtual std::size_t Read(char* buffer, std::size_t size) = 0;
};

// Writes a new version of a file. Nothing is visible at the target until Commit succeeds;
// a writer destroyed without Commit leaves the target as it was.
class ByteWriter {
public:
    virtual ~ByteWriter() = default;
    virtual void Write(const char* data, std::size_t size) = 0;
    virtual void Commit() = 0;
};

// What an input may be. The window's batch takes regular files only: a pipe without a writer or a device such as
// /dev/zero would block it or never end. The command line reads pipes, FIFOs and devices as Unix tools do.
enum class InputKind { Any, RegularFile };

// One entry of a folder listing: its name (no folder), its attribute bits, and whether it is a regular file
// (or a link to one): not a folder, device, FIFO or socket. On POSIX the listing's own entry type gives the
// directory and archive bits and the name the hidden bit; the entry's status is read only where it decides
// something (a hidden name, whose read-only bit tells 35 from 34; a link; an entry the listing gives no type), so
// the read-only bit of any other entry reads 0 there (GetAttributes has it). Windows listings carry every bit.
struct FolderEntry {
    std::string name;
    int attributes = 0;
    bool regularFile = false;
};

// Names the same folder however it is reached (through a link or another path): device and inode on POSIX,
// volume serial and file index on Windows.
struct FolderId {
    std::uint64_t device = 0;
    std::uint64_t index = 0;
    friend auto operator<=>(const FolderId&, const FolderId&) = default;
};

// A folder as the folder walk looks at it.
struct FolderInfo {
    int attributes = 0;
    bool isRoot = false;  // "/" (POSIX) or a drive root (Windows)
    FolderId id;
};

// Puts a listing in the order every listing comes in: names compared case-insensitively (ASCII letters folded to
// lower case, as strcasecmp compares them), ties by byte order, so a listing is the same on every run.
void SortListing(std::vector<FolderEntry>& entries);

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // True when any entry (file or folder) exists at the path; never throws.
    virtual bool Exists(const std::string& path) = 0;
    // The attribute bits of the entry; throws PlatformError when they cannot be read.
    virtual int GetAttributes(const std::string& path) = 0;
    // Opens without blocking on a FIFO that has no writer when only regular files are taken (they are refused).
    virtual std::unique_ptr<ByteReader> OpenRead(const std::string& path, InputKind kind) = 0;
    // Prepares to replace (or create) the file at path. Throws when the target cannot be written.
    virtual std::unique_ptr<ByteWriter> CreateReplacing(const std::string& path) = 0;

    // True when path names an existing regular file, judged by its status and never by opening it (a FIFO or a
    // device is not one, so asking never blocks); never throws.
    virtual bool IsRegularFile(const std::string& path) = 0;
    // The folder at path. Throws PlatformError: 76 when it is missing or no folder, 70 when it cannot be examined.
    virtual FolderInfo GetFolder(const std::string& path) = 0;
    // Every entry of the folder except "." and "..", hidden and system ones included, in SortListing's order.
    // Throws PlatformError: 76 when the folder is missing or no folder, 70 when it cannot be read.
    virtual std::vector<FolderEntry> ListFolder(const std::string& path) = 0;
    // The folders among ListFolder's entries (links to folders included), in the same order and with the same
    // errors; cheaper where the listing itself tells a file from a folder.
    virtual std::vector<FolderEntry> ListSubFolders(const std::string& path) = 0;
};

// How a replacing writer holds the new version until it commits. Unnamed: an unnamed file in the target's folder
// (Linux O_TMPFILE) that gets a name only at commit, so no signal, not even SIGKILL, leaves anything behind; where
// the folder's file system cannot make one, a hidden named file, removed on SIGINT, SIGTERM, SIGHUP and SIGXFSZ.
enum class TemporaryFiles { Unnamed, Named };

// The file system of the machine the program runs on. /dev/stdin, /dev/stdout, /dev/stderr, /dev/fd/N and
// /proc/self/fd/N name descriptors the program already holds: they are read and written through those, in place.
class NativeFileSystem final : public FileSystem {
public:
    explicit NativeFileSystem(TemporaryFiles temporaries = TemporaryFiles::Unnamed) : m_temporaries(temporaries) {}

    bool Exists(const std::string& path) override;
    int GetAttributes(const std::string& path) override;
    std::unique_ptr<ByteReader> OpenRead(const std::string& path, InputKind kind) override;
    std::unique_ptr<ByteWriter> CreateReplacing(const std::string& path) override;
    bool IsRegularFile(const std::string& path) override;
    FolderInfo GetFolder(const std::string& path) override;
    std::vector<FolderEntry> ListFolder(const std::string& path) override;
    std::vector<FolderEntry> ListSubFolders(const std::string& path) override;

private:
    std::vector<FolderEntry> List(const std::string& path, bool foldersOnly);

    TemporaryFiles m_temporaries;
};

}  // namespace tabulane
