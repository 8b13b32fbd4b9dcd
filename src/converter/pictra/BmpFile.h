#pragma once
// The BMP files Pictra writes from decoded images, with the programs' own
// writer (bmp/BmpFile.h): the depth of the file is the depth of the decoded
// bitmap, the palette of an indexed image goes with it, and a 32-bit image
// keeps its alpha bytes.
#include "bmp/BmpFile.h"

#include <cstdint>

namespace pictra {

using bmp::BitmapImage;
using bmp::bmpFileBytes;
using bmp::bmpStride;
using bmp::writeFileReplacing;

// The imaging library's pixel-format numbers: an index, the bits per pixel in
// the second byte, and flags above them.
namespace pixel {
constexpr std::uint32_t Indexed = 0x10000;
constexpr std::uint32_t Gdi = 0x20000; // the drawing layer handles it directly
constexpr std::uint32_t Alpha = 0x40000;
constexpr std::uint32_t Format16bppRGB565 = 0x21006;
constexpr std::uint32_t Format32bppRGB = 0x22009;
constexpr std::uint32_t Format32bppARGB = 0x26200A;
constexpr int bitsOf(std::uint32_t format) {
    return static_cast<int>((format >> 8) & 0xFF);
}
} // namespace pixel

// The format of the bitmap a decoded image is copied into: 32 bits with alpha
// for any format with alpha, the same format for one the drawing layer
// handles (1, 4, 8 bits indexed, 16, 24, 32 bits), else 32 bits without alpha.
std::uint32_t bitmapFormatFor(std::uint32_t sourceFormat);

} // namespace pictra
