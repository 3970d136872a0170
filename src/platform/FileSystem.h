#pragma once

#include <cstddef>
#include <memory>
#include <string>

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

private:
    TemporaryFiles m_temporaries;
};

}  // namespace tabulane
