#include "convert/Encodings.h"

#include <algorithm>
#include <initializer_list>

namespace tabulane {

std::u32string DecodeUtf8(std::string_view text) {
    std::u32string result;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int length = 0;
        char32_t cp = 0;
        if (lead < 0x80) {
            length = 1;
            cp = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            cp = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            cp = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            cp = lead & 0x07;
        }
        bool valid = length > 0 && i + static_cast<std::size_t>(length) <= text.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            valid = (next & 0xC0) == 0x80;
            cp = (cp << 6) | (next & 0x3F);
        }
        if (!valid) {
            result += U'\uFFFD';
            ++i;
            continue;
        }
        result += cp;
        i += static_cast<std::size_t>(length);
    }
    return result;
}

bool IsBigEndianEncoding(TextEncoding encoding) {
    return encoding == TextEncoding::Utf16BE || encoding == TextEncoding::Utf32BE;
}

std::string ByteOrderMark(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::None:
            return {};
        case TextEncoding::Utf32LE:
            return std::string("\xFF\xFE\x00\x00", 4);
        case TextEncoding::Utf32BE:
            return std::string("\x00\x00\xFE\xFF", 4);
        case TextEncoding::Utf8:
            return "\xEF\xBB\xBF";
        case TextEncoding::Utf16LE:
            return "\xFF\xFE";
        case TextEncoding::Utf16BE:
            return "\xFE\xFF";
    }
    return {};
}

TextEncoding EncodingFromMark(const unsigned char* bytes, std::size_t length) {
    const auto starts = [&](std::initializer_list<unsigned char> mark) {
        return length >= mark.size() && std::equal(mark.begin(), mark.end(), bytes);
    };
    if (starts({0xFF, 0xFE, 0x00, 0x00})) {
        return TextEncoding::Utf32LE;
    }
    if (starts({0x00, 0x00, 0xFE, 0xFF})) {
        return TextEncoding::Utf32BE;
    }
    if (starts({0xEF, 0xBB, 0xBF})) {
        return TextEncoding::Utf8;
    }
    if (starts({0xFF, 0xFE})) {
        return TextEncoding::Utf16LE;
    }
    if (starts({0xFE, 0xFF})) {
        return TextEncoding::Utf16BE;
    }
    return TextEncoding::None;
}

}  // namespace tabulane
