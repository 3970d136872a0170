#include "convert/TextConverter.h"

namespace tabulane {
std::string ByteOrderMark(TextEncoding) { return {}; }
TextEncoding EncodingFromMark(const unsigned char*, std::size_t) { return TextEncoding::None; }
void ConvertText(ByteReader&, ByteWriter&, const ConversionOptions&) {}
}  // namespace tabulane
