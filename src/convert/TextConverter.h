#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "platform/FileSystem.h"

namespace tabulane {

// How a file's text is encoded, told by its byte-order mark. None: no mark, bytes pass through as they are.
enum class TextEncoding { None, Utf32LE, Utf32BE, Utf8, Utf16LE, Utf16BE };

// Bytes read and written per step: large blocks keep the conversion close to the speed of a plain copy.
inline constexpr std::size_t kDefaultBufferSize = 1 << 20;

struct ConversionOptions {
    std::string separator;    // UTF-8; transcoded to the file's encoding
    std::string replacement;  // "," or ", "
    bool lineMode = true;     // false: block mode, for the line-break separators
    bool collapseSpaces = false;
    TextEncoding encoding = TextEncoding::None;
    std::size_t bufferSize = kDefaultBufferSize;
    // Called after each block is converted, so long work can let the window run; it may throw to abandon the text.
    std::function<void()> betweenBlocks;
};

// The byte-order mark of an encoding (empty for None) and the encoding a file's first bytes announce.
std::string ByteOrderMark(TextEncoding encoding);
TextEncoding EncodingFromMark(const unsigned char* bytes, std::size_t length);

// Reads the whole input (mark included, when the encoding has one) and writes the converted text, mark first.
// Memory stays bounded by the buffer size whatever the line lengths. Throws PlatformError on read or write failure.
void ConvertText(ByteReader& input, ByteWriter& output, const ConversionOptions& options);

}  // namespace tabulane
