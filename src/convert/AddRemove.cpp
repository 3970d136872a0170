#include "convert/AddRemove.h"

#include <algorithm>
#include <exception>
#include <memory>

#include "platform/AsciiText.h"
#include "platform/TextCodes.h"

namespace tabulane {

MarkedInput::MarkedInput(std::unique_ptr<ByteReader> reader) : m_reader(std::move(reader)) {
    while (m_headLength < sizeof m_head) {
        const std::size_t got = m_reader->Read(m_head + m_headLength, sizeof m_head - m_headLength);
        if (got == 0) {
            break;
        }
        m_headLength += got;
    }
    m_encoding = EncodingFromMark(reinterpret_cast<const unsigned char*>(m_head), m_headLength);
}

std::size_t MarkedInput::Read(char* buffer, std::size_t size) {
    if (m_headServed < m_headLength) {
        const std::size_t count = std::min(size, m_headLength - m_headServed);
        std::copy_n(m_head + m_headServed, count, buffer);
        m_headServed += count;
        return count;
    }
    return m_reader->Read(buffer, size);
}

bool HasByteOrderMark(const MarkedInput& input) {
    return input.Encoding() != TextEncoding::None;
}

bool HasByteOrderMark(FileSystem& files, const std::string& path) {
    return HasByteOrderMark(MarkedInput(files.OpenRead(path, InputKind::Any)));
}

std::string CollapseSpaces(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (const char c : text) {
        if (c == ' ' && !result.empty() && result.back() == ' ') {
            continue;
        }
        result += c;
    }
    return result;
}

// An output's folder identity and its name, or, where the folder cannot be examined, the path as written.
std::string RunOutputs::KeyOf(FileSystem& files, const std::string& path, PathStyle style) {
    std::string spelled = path;
    if (style == PathStyle::Windows) {
        std::transform(spelled.begin(), spelled.end(), spelled.begin(),
                       [](char c) { return static_cast<char>(FoldAsciiCase(c)); });
    }
    const std::string folder = GetFolderOfPath(spelled, style);
    FolderId id;
    try {
        id = files.GetFolder(folder.empty() ? "." : folder).id;
    } catch (const PlatformError&) {
    }
    if (id == FolderId{}) {  // no identity to be had (Windows gives none on some file systems)
        return "path " + spelled;
    }
    return std::to_string(id.device) + ":" + std::to_string(id.index) + " " + GetFileName(spelled, style);
}

std::string DeriveOutputPath(const std::string& inputPath, const OutputControls* controls, PathStyle style) {
    const std::string name = GetFileName(StripExtension(inputPath), style) + ".csv";
    const char separator = SeparatorOf(style);
    std::string path;
    if (controls != nullptr && controls->Option1Selected()) {
        path = controls->Text1Text() + separator + name;
    } else if (controls != nullptr && controls->Option2Selected()) {
        const std::string folder = GetFolderOfPath(inputPath, style);
        // An input without a folder keeps its output beside it, not at the root of the drive.
        path = folder.empty() ? name : folder + separator + name;
    }
    return CollapseBackslashes(path, style);
}

void ConvertToCSVInFile(ConversionServices& services, std::string inputPath, const std::string& separator,
                        bool commaSpace, const std::string& outputPath, bool collapseSpaces) {
    ErrorTrap trap(services.reporter, "AddRemove", "ConvertToCSVInFile");
    std::string replacement = ",";
    std::string output = outputPath;
    bool lineMode = true;
    trap.Step(100, [&] { replacement = commaSpace ? ", " : ","; });
    if (output.empty()) {
        trap.Step(102, [&] { output = DeriveOutputPath(inputPath, services.controls, services.style); });
    }
    trap.Step(104, [&] { lineMode = separator != "\r" && separator != "\n" && separator != "\r\n"; });
    trap.Step(106,
              [&] { ConvertCSVFSO(services, inputPath, output, separator, replacement, lineMode, collapseSpaces); });
}

void ConvertCSVFSO(ConversionServices& services, const std::string& inputPath, const std::string& outputPath,
                   const std::string& separator, const std::string& replacement, bool lineMode, bool collapseSpaces) {
    ErrorTrap trap(services.reporter, "AddRemove", "ConvertCSVFSO");
    ConversionOptions options;
    options.separator = separator;
    options.replacement = replacement;
    options.lineMode = lineMode;
    options.collapseSpaces = collapseSpaces;
    options.bufferSize = services.bufferSize;
    options.betweenBlocks = services.betweenBlocks;

    // The input is opened once, for the mark test, and read on from there. An input that could not be opened is
    // reported by the test and again by the opening step, without a second attempt that could block or read.
    std::unique_ptr<MarkedInput> input;
    std::exception_ptr openFailure;
    trap.Step(100, [&] {
        try {
            input = std::make_unique<MarkedInput>(services.files.OpenRead(inputPath, services.inputs));
        } catch (...) {
            openFailure = std::current_exception();
            throw;
        }
        options.encoding = input->Encoding();
        if (!HasByteOrderMark(*input)) {
            options.separator = AnsiFromUtf8(separator);  // the file's bytes are in the ANSI code page
        }
    });
    trap.Step(102, [&] {
        if (openFailure) {
            std::rethrow_exception(openFailure);
        }
    });
    if (!input) {
        return;  // nothing to read: no output is created and an existing one stays as it is
    }
    std::unique_ptr<ByteWriter> output;
    std::string outputKey;
    trap.Step(104, [&] {
        if (services.writtenThisRun != nullptr) {
            outputKey = RunOutputs::KeyOf(services.files, outputPath, services.style);
            if (services.writtenThisRun->Contains(outputKey)) {
                throw PlatformError(ErrorNumber::kFileAlreadyExists, "File already exists: " + outputPath);
            }
        }
        output = services.files.CreateReplacing(outputPath);
    });
    if (!output) {
        return;  // reported once; reading on would only repeat the report for every line
    }
    // A failed conversion leaves the temporary output uncommitted, so the target keeps its old content.
    if (trap.Step(106, [&] { ConvertText(*input, *output, options); })) {
        input.reset();  // Windows cannot move the result over the input (converting onto itself) while it is open
        trap.Step(108, [&] {
            output->Commit();
            if (services.writtenThisRun != nullptr) {
                services.writtenThisRun->Add(std::move(outputKey));
            }
        });
    }
}

}  // namespace tabulane
