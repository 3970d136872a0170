#include "platform/CursorFile.h"

#include <cstdint>
#include <filesystem>
#include <fstream>

#include "platform/PlatformError.h"

namespace tabulane {
namespace {

constexpr std::size_t kHeaderBytes = 6;
constexpr std::size_t kEntryBytes = 16;
constexpr unsigned kCursorType = 2;  // the header's type word: 1 for an icon, 2 for a cursor
constexpr std::uint64_t kBitmapHeaderBytes = 40;
// A cursor of the largest size (256 x 256, 32 bits) with its mask is about 270 KB; a file far beyond that is none.
constexpr std::size_t kMaxCursorBytes = 4 * 1024 * 1024;
constexpr std::string_view kPngSignature{"\x89PNG\r\n\x1A\n", 8};

[[noreturn]] void ThrowInvalidPicture() {
    throw PlatformError(ErrorNumber::kInvalidPicture, "Invalid picture");
}

// Little-endian words of the file; the caller has checked that they lie inside it.
std::uint32_t Word(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at]) |
                                      (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

std::uint32_t Long(std::string_view bytes, std::size_t at) {
    return Word(bytes, at) | (Word(bytes, at + 2) << 16);
}

// Bytes of one row of pixels, padded to whole 32-bit words as bitmaps store them.
std::uint64_t RowBytes(std::uint64_t width, std::uint64_t bitsPerPixel) {
    return (width * bitsPerPixel + 31) / 32 * 4;
}

bool IsBitmapImage(std::string_view image) {
    if (image.size() < kBitmapHeaderBytes) {
        return false;
    }
    const std::uint64_t headerBytes = Long(image, 0);
    const auto width = static_cast<std::int32_t>(Long(image, 4));
    const auto height = static_cast<std::int32_t>(Long(image, 8));  // the colour image and the mask, stacked
    const std::uint32_t planes = Word(image, 12);
    const std::uint32_t bitsPerPixel = Word(image, 14);
    const std::uint32_t compression = Long(image, 16);
    const std::uint64_t coloursUsed = Long(image, 32);
    const bool knownDepth = bitsPerPixel == 1 || bitsPerPixel == 4 || bitsPerPixel == 8 || bitsPerPixel == 16 ||
                            bitsPerPixel == 24 || bitsPerPixel == 32;
    if (headerBytes < kBitmapHeaderBytes || width <= 0 || width > 256 || height <= 0 || height > 512 ||
        height % 2 != 0 || planes != 1 || !knownDepth || compression != 0) {
        return false;
    }
    std::uint64_t paletteBytes = 0;
    if (bitsPerPixel <= 8) {
        const std::uint64_t fullPalette = std::uint64_t{1} << bitsPerPixel;
        if (coloursUsed > fullPalette) {
            return false;
        }
        paletteBytes = (coloursUsed != 0 ? coloursUsed : fullPalette) * 4;
    }
    const auto rows = static_cast<std::uint64_t>(height / 2);
    // A 32-bit image carries its own alpha; the others need the mask that says where the cursor is transparent.
    const std::uint64_t maskBytes = bitsPerPixel == 32 ? 0 : RowBytes(static_cast<std::uint64_t>(width), 1) * rows;
    const std::uint64_t pixelBytes = RowBytes(static_cast<std::uint64_t>(width), bitsPerPixel) * rows;
    return headerBytes + paletteBytes + pixelBytes + maskBytes <= image.size();
}

bool IsPngImage(std::string_view image) {
    // The signature, then the header chunk: its length (13) and type.
    return image.size() >= 8 + 8 + 13 && image.substr(0, 8) == kPngSignature &&
           image.substr(8, 8) == std::string_view("\0\0\0\x0DIHDR", 8);
}

}  // namespace

CursorHotspot CheckCursorBytes(std::string_view bytes) {
    if (bytes.size() < kHeaderBytes || Word(bytes, 0) != 0 || Word(bytes, 2) != kCursorType || Word(bytes, 4) == 0) {
        ThrowInvalidPicture();
    }
    const std::size_t count = Word(bytes, 4);
    const std::size_t directoryEnd = kHeaderBytes + count * kEntryBytes;
    if (directoryEnd > bytes.size()) {
        ThrowInvalidPicture();
    }
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = kHeaderBytes + i * kEntryBytes;
        const std::uint64_t size = Long(bytes, entry + 8);
        const std::uint64_t offset = Long(bytes, entry + 12);
        if (size == 0 || offset < directoryEnd || offset + size > bytes.size()) {
            ThrowInvalidPicture();
        }
        const std::string_view image = bytes.substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(size));
        if (!IsPngImage(image) && !IsBitmapImage(image)) {
            ThrowInvalidPicture();
        }
    }
    // A cursor's entry keeps the hotspot where an icon's keeps planes and bit count.
    return {static_cast<int>(Word(bytes, kHeaderBytes + 4)), static_cast<int>(Word(bytes, kHeaderBytes + 6))};
}

CursorHotspot CheckCursorFile(const std::string& path) {
    std::ifstream file(std::filesystem::path(std::u8string(path.begin(), path.end())), std::ios::binary);
    if (!file.is_open()) {
        ThrowInvalidPicture();
    }
    std::string bytes;
    char buffer[64 * 1024];
    while (file.read(buffer, sizeof buffer) || file.gcount() > 0) {
        bytes.append(buffer, static_cast<std::size_t>(file.gcount()));
        if (bytes.size() > kMaxCursorBytes) {
            ThrowInvalidPicture();
        }
    }
    if (file.bad()) {
        ThrowInvalidPicture();  // a folder, or a read that failed
    }
    return CheckCursorBytes(bytes);
}

}  // namespace tabulane
