#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string>

#include "platform/FileSystem.h"
#include "platform/PlatformError.h"

namespace tabulane::test {

// Serves a string, at most `chunk` bytes per read; throws error 57 once `failAfter` bytes have been served.
class StringReader final : public ByteReader {
public:
    explicit StringReader(std::string data, std::size_t chunk = static_cast<std::size_t>(-1),
                          std::size_t failAfter = static_cast<std::size_t>(-1))
        : m_data(std::move(data)), m_chunk(chunk), m_failAfter(failAfter) {}

    // The first read serves at most `bytes` (later ones `chunk`), so that a unit can be split where it counts.
    void FirstReadAtMost(std::size_t bytes) { m_first = bytes; }

    std::size_t Read(char* buffer, std::size_t size) override {
        if (m_position >= m_failAfter) {
            throw PlatformError(57, "Device I/O error");
        }
        const std::size_t chunk = m_reads++ == 0 ? std::min(m_first, m_chunk) : m_chunk;
        const std::size_t limit = std::min({size, chunk, m_data.size() - m_position, m_failAfter - m_position});
        std::copy_n(m_data.data() + m_position, limit, buffer);
        m_position += limit;
        return limit;
    }

private:
    std::string m_data;
    std::size_t m_chunk;
    std::size_t m_failAfter;
    std::size_t m_first = static_cast<std::size_t>(-1);
    std::size_t m_position = 0;
    int m_reads = 0;
};

// Collects what is written; throws error 61 "Disk full" once more than `failAfter` bytes were written.
class StringWriter final : public ByteWriter {
public:
    explicit StringWriter(std::string* committedCopy = nullptr, std::size_t failAfter = static_cast<std::size_t>(-1))
        : m_committed(committedCopy), m_failAfter(failAfter) {}

    void Write(const char* data, std::size_t size) override {
        ++writeCalls;
        if (written.size() + size > m_failAfter) {
            ++failedWrites;
            throw PlatformError(61, "Disk full");
        }
        written.append(data, size);
    }

    void Commit() override {
        if (m_committed != nullptr) {
            *m_committed = written;
        }
        committed = true;
    }

    std::string written;
    bool committed = false;
    int writeCalls = 0;
    int failedWrites = 0;

private:
    std::string* m_committed;
    std::size_t m_failAfter;
};

// A file system over the real one whose writers fail after a number of bytes and whose readers fail
// after a number of bytes, to exercise the conversion's failure handling.
class FailingFileSystem final : public FileSystem {
public:
    explicit FailingFileSystem(FileSystem& real) : m_real(real) {}

    bool Exists(const std::string& path) override { return m_real.Exists(path); }
    int GetAttributes(const std::string& path) override { return m_real.GetAttributes(path); }

    std::unique_ptr<ByteReader> OpenRead(const std::string& path, InputKind kind) override {
        ++opens;
        if (opens <= readOpensBeforeFailing) {
            return m_real.OpenRead(path, kind);
        }
        std::string data;
        auto real = m_real.OpenRead(path, kind);
        char buffer[4096];
        for (std::size_t got; (got = real->Read(buffer, sizeof buffer)) > 0;) {
            data.append(buffer, got);
        }
        return std::make_unique<StringReader>(data, static_cast<std::size_t>(-1), readFailAfter);
    }

    bool IsRegularFile(const std::string& path) override { return m_real.IsRegularFile(path); }
    FolderInfo GetFolder(const std::string& path) override { return m_real.GetFolder(path); }
    std::vector<FolderEntry> ListFolder(const std::string& path) override { return m_real.ListFolder(path); }
    std::vector<FolderEntry> ListSubFolders(const std::string& path) override { return m_real.ListSubFolders(path); }

    std::unique_ptr<ByteWriter> CreateReplacing(const std::string& path) override {
        auto inner = m_real.CreateReplacing(path);
        return std::make_unique<Writer>(std::move(inner), writeFailAfter);
    }

    int readOpensBeforeFailing = 1 << 30;
    std::size_t readFailAfter = static_cast<std::size_t>(-1);
    std::size_t writeFailAfter = static_cast<std::size_t>(-1);
    int opens = 0;

private:
    class Writer final : public ByteWriter {
    public:
        Writer(std::unique_ptr<ByteWriter> inner, std::size_t failAfter)
            : m_inner(std::move(inner)), m_failAfter(failAfter) {}
        void Write(const char* data, std::size_t size) override {
            if (m_written + size > m_failAfter) {
                throw PlatformError(61, "Disk full");
            }
            m_written += size;
            m_inner->Write(data, size);
        }
        void Commit() override { m_inner->Commit(); }

    private:
        std::unique_ptr<ByteWriter> m_inner;
        std::size_t m_failAfter;
        std::size_t m_written = 0;
    };

    FileSystem& m_real;
};

}  // namespace tabulane::test
