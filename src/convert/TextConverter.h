#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "convert/Encodings.h"
#include "platform/FileSystem.h"

namespace tabulane {

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

// Reads the whole input (mark included, when the encoding has one) and writes the converted text, mark first.
// Memory stays bounded by the buffer size whatever the line lengths. Throws PlatformError on read or write failure.
void ConvertText(ByteReader& input, ByteWriter& output, const ConversionOptions& options);

}  // namespace tabulane
