#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tabulane {

// The one reading of UTF-8 text for every layer: a sequence is well formed when its lead byte announces its length,
// its continuation bytes are all there, and it encodes no overlong form, no surrogate (U+D800 to U+DFFF) and
// nothing beyond U+10FFFF, as Qt's decoder and Windows' strict conversion take it.

// The length of the well-formed sequence at text[at] (at < text.size()), with its code point; 0 when the bytes there
// are not one.
std::size_t DecodeUtf8At(std::string_view text, std::size_t at, char32_t& codePoint);

// True when all of text is well formed.
bool IsValidUtf8(std::string_view text);

// The code points of text; every byte that does not start a well-formed sequence becomes U+FFFD on its own.
std::u32string DecodeUtf8(std::string_view text);

// The length of text in characters as DecodeUtf8 counts them (a byte that is not UTF-8 counts as one).
std::size_t CountCharacters(std::string_view text);

// The bytes of the character at text[at] as DecodeUtf8 counts them: 1 for a byte that starts no well-formed sequence.
std::size_t CharacterLength(std::string_view text, std::size_t at);

}  // namespace tabulane
