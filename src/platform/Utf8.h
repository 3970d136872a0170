#pragma once

#include <cstddef>
#include <string_view>

namespace tabulane {

// The length of UTF-8 text in characters: continuation bytes do not start a character.
inline std::size_t CountCharacters(std::string_view text) {
    std::size_t count = 0;
    for (const char byte : text) {
        if ((static_cast<unsigned char>(byte) & 0xC0) != 0x80) {
            ++count;
        }
    }
    return count;
}

}  // namespace tabulane
