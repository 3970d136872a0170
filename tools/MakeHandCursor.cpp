// Writes the hand pointer "HAND-M.CUR" that the window loads from the program's folder: a 32 x 32 cursor file
// (32-bit colour with alpha plus the monochrome mask), drawn from the picture below, hotspot at the fingertip.
// Usage: make_hand_cursor <output file>
#include <array>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

// '#' outline, '.' fill, ' ' transparent.
constexpr std::array<const char*, 21> kPicture{
    "      ##          ",  //
    "     #..#         ",  //
    "     #..#         ",  //
    "     #..#         ",  //
    "     #..#         ",  //
    "     #..###       ",  //
    "     #..#..###    ",  //
    "     #..#..#..##  ",  //
    "     #..#..#..#.# ",  //
    " ##  #..#..#..#..#",  //
    "#..# #...........#",  //
    "#...##...........#",  //
    " #...#...........#",  //
    "  #..............#",  //
    "  #.............# ",  //
    "   #............# ",  //
    "   #...........#  ",  //
    "    #..........#  ",  //
    "    #.........#   ",  //
    "     #........#   ",  //
    "     ##########   ",  //
};
constexpr int kSize = 32;
constexpr int kHotspotX = 6;
constexpr int kHotspotY = 0;

void PutWord(std::vector<unsigned char>& out, std::uint16_t value) {
    out.push_back(static_cast<unsigned char>(value & 0xFF));
    out.push_back(static_cast<unsigned char>(value >> 8));
}

void PutLong(std::vector<unsigned char>& out, std::uint32_t value) {
    PutWord(out, static_cast<std::uint16_t>(value & 0xFFFF));
    PutWord(out, static_cast<std::uint16_t>(value >> 16));
}

char PixelAt(int x, int y) {
    if (y >= static_cast<int>(kPicture.size())) {
        return ' ';
    }
    const std::string row = kPicture[static_cast<std::size_t>(y)];
    return x < static_cast<int>(row.size()) ? row[static_cast<std::size_t>(x)] : ' ';
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_hand_cursor <output file>\n";
        return 2;
    }
    constexpr std::uint32_t kColourBytes = kSize * kSize * 4;
    constexpr std::uint32_t kMaskBytes = kSize * kSize / 8;  // rows of 32 bits need no padding
    constexpr std::uint32_t kHeaderBytes = 40;
    constexpr std::uint32_t kImageOffset = 6 + 16;

    std::vector<unsigned char> out;
    // Directory: reserved, type 2 (cursor), one image.
    PutWord(out, 0);
    PutWord(out, 2);
    PutWord(out, 1);
    // Entry: size, no palette, the hotspot where an icon keeps planes and bit count, then where the image lies.
    out.push_back(kSize);
    out.push_back(kSize);
    out.push_back(0);
    out.push_back(0);
    PutWord(out, kHotspotX);
    PutWord(out, kHotspotY);
    PutLong(out, kHeaderBytes + kColourBytes + kMaskBytes);
    PutLong(out, kImageOffset);
    // Bitmap header: the height counts the colour image and the mask.
    PutLong(out, kHeaderBytes);
    PutLong(out, kSize);
    PutLong(out, kSize * 2);
    PutWord(out, 1);
    PutWord(out, 32);
    PutLong(out, 0);
    PutLong(out, kColourBytes + kMaskBytes);
    PutLong(out, 0);
    PutLong(out, 0);
    PutLong(out, 0);
    PutLong(out, 0);
    // Rows run bottom-up; pixels are blue, green, red, alpha.
    for (int y = kSize - 1; y >= 0; --y) {
        for (int x = 0; x < kSize; ++x) {
            const char pixel = PixelAt(x, y);
            const unsigned char grey = pixel == '.' ? 0xFF : 0x00;
            const unsigned char alpha = pixel == ' ' ? 0x00 : 0xFF;
            out.insert(out.end(), {grey, grey, grey, alpha});
        }
    }
    // Mask: 1 where the picture is transparent.
    for (int y = kSize - 1; y >= 0; --y) {
        for (int byte = 0; byte < kSize / 8; ++byte) {
            unsigned char bits = 0;
            for (int bit = 0; bit < 8; ++bit) {
                if (PixelAt(byte * 8 + bit, y) == ' ') {
                    bits = static_cast<unsigned char>(bits | (0x80 >> bit));
                }
            }
            out.push_back(bits);
        }
    }

    std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    if (!file) {
        std::cerr << "make_hand_cursor: cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
