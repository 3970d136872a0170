#include "convert/Encodings.h"

#include <algorithm>
#include <initializer_list>

namespace tabulane {

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
