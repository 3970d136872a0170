#pragma once

#include <cstddef>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "convert/TextConverter.h"
#include "platform/FileSystem.h"
#include "platform/OutputControls.h"
#include "shell/ErrorReport.h"
#include "shell/Main.h"

namespace tabulane {

// The outputs one batch run has written. Two entries whose outputs fall on one file (sales.txt from two folders
// into one output folder, data.tsv and data.txt beside each other) would otherwise have the second silently
// replace the first. A file is known by its folder's identity, so another spelling of the same folder ("a/./b",
// a link) is still the same file, and by its name: byte for byte, or with ASCII letters folded on Windows, whose
// file names ignore case.
class RunOutputs {
public:
    // What names the file at path here; it looks at the file system once.
    static std::string KeyOf(FileSystem& files, const std::string& path, PathStyle style);
    bool Contains(const std::string& key) const { return m_written.contains(key); }
    void Add(std::string key) { m_written.insert(std::move(key)); }

private:
    std::set<std::string> m_written;
};

// What one conversion needs from outside. Controls may be absent (command line): an output path is then given.
struct ConversionServices {
    ErrorReporter& reporter;
    FileSystem& files;
    const OutputControls* controls = nullptr;
    PathStyle style = kNativePathStyle;
    std::size_t bufferSize = kDefaultBufferSize;
    InputKind inputs = InputKind::Any;         // the window's batch takes regular files only
    std::function<void()> betweenBlocks = {};  // see ConversionOptions; the window's batch yields there
    // The window's batch: an output this run already wrote is reported (error 58) instead of replaced.
    RunOutputs* writtenThisRun = nullptr;
};

// Converts one file: every separator becomes "," (or ", " with commaSpace). An empty outputPath is derived
// from the window's output options. Failures are reported through the error box, never returned.
void ConvertToCSVInFile(ConversionServices& services, std::string inputPath, const std::string& separator,
                        bool commaSpace, const std::string& outputPath, bool collapseSpaces);

// Streams inputPath into outputPath, replacing separator by replacement, line by line or in blocks.
void ConvertCSVFSO(ConversionServices& services, const std::string& inputPath, const std::string& outputPath,
                   const std::string& separator, const std::string& replacement, bool lineMode, bool collapseSpaces);

// An input opened once, its byte-order mark read from the stream itself: the bytes read for the test are served
// again before the rest, so a pipe, FIFO or terminal loses nothing.
class MarkedInput final : public ByteReader {
public:
    // Reads up to the first four bytes; throws when they cannot be read.
    explicit MarkedInput(std::unique_ptr<ByteReader> reader);
    TextEncoding Encoding() const { return m_encoding; }
    std::size_t Read(char* buffer, std::size_t size) override;

private:
    std::unique_ptr<ByteReader> m_reader;
    char m_head[4] = {0, 0, 0, 0};
    std::size_t m_headLength = 0;
    std::size_t m_headServed = 0;
    TextEncoding m_encoding = TextEncoding::None;
};

// Whether the file starts with a byte-order mark, which decides the text format of both files. Throws when
// unreadable.
bool HasByteOrderMark(FileSystem& files, const std::string& path);
// The same for an input already open, so that a conversion reads its file once.
bool HasByteOrderMark(const MarkedInput& input);

// Every run of two or more spaces becomes one space; other white space is untouched.
std::string CollapseSpaces(std::string_view text);

// The output path derived from the input path and the window's output options.
std::string DeriveOutputPath(const std::string& inputPath, const OutputControls* controls, PathStyle style);

}  // namespace tabulane
