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

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // True when any entry (file or folder) exists at the path; never throws.
    virtual bool Exists(const std::string& path) = 0;
    // The attribute bits of the entry; throws PlatformError when they cannot be read.
    virtual int GetAttributes(const std::string& path) = 0;
    virtual std::unique_ptr<ByteReader> OpenRead(const std::string& path) = 0;
    // Prepares to replace (or create) the file at path. Throws when the target cannot be written.
    virtual std::unique_ptr<ByteWriter> CreateReplacing(const std::string& path) = 0;
};

// The file system of the machine the program runs on.
class NativeFileSystem final : public FileSystem {
public:
    bool Exists(const std::string& path) override;
    int GetAttributes(const std::string& path) override;
    std::unique_ptr<ByteReader> OpenRead(const std::string& path) override;
    std::unique_ptr<ByteWriter> CreateReplacing(const std::string& path) override;
};

}  // namespace tabulane
