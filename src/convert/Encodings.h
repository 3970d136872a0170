#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Utf8.h"

namespace tabulane {

// How a file's text is encoded, told by its byte-order mark. None: no mark, bytes pass through as they are.
enum class TextEncoding { None, Utf32LE, Utf32BE, Utf8, Utf16LE, Utf16BE };

// The byte-order mark of an encoding (empty for None) and the encoding a file's first bytes announce.
std::string ByteOrderMark(TextEncoding encoding);
TextEncoding EncodingFromMark(const unsigned char* bytes, std::size_t length);

bool IsBigEndianEncoding(TextEncoding encoding);

// A code unit with its bytes in the other order.
template <typename Unit>
Unit Swapped(Unit unit) {
    if constexpr (sizeof(Unit) == 2) {
        const auto bits = static_cast<std::uint16_t>(unit);
        return static_cast<Unit>(static_cast<std::uint16_t>((bits << 8) | (bits >> 8)));
    } else if constexpr (sizeof(Unit) == 4) {
        const auto bits = static_cast<std::uint32_t>(unit);
        return static_cast<Unit>((bits << 24) | ((bits & 0xFF00u) << 8) | ((bits >> 8) & 0xFF00u) | (bits >> 24));
    } else {
        return unit;
    }
}

// The separator or replacement as units of the file's encoding. A byte that is not UTF-8 becomes U+FFFD, never a
// lone surrogate or a unit beyond the encoding's range.
template <typename Unit>
std::basic_string<Unit> ToUnits(std::string_view utf8) {
    if constexpr (sizeof(Unit) == 1) {
        return std::basic_string<Unit>(utf8.begin(), utf8.end());
    } else {
        std::basic_string<Unit> units;
        for (const char32_t cp : DecodeUtf8(utf8)) {
            if constexpr (sizeof(Unit) == 2) {
                if (cp >= 0x10000) {
                    units += static_cast<Unit>(0xD800 + ((cp - 0x10000) >> 10));
                    units += static_cast<Unit>(0xDC00 + ((cp - 0x10000) & 0x3FF));
                    continue;
                }
            }
            units += static_cast<Unit>(cp);
        }
        return units;
    }
}

}  // namespace tabulane
