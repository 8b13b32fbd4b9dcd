#pragma once
// The BMP files Pictra writes from decoded images, with its own writer: the
// depth of the file is the depth of the decoded bitmap, the palette of an
// indexed image goes with it, and a 32-bit image keeps its alpha bytes.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace pictra {

// The imaging library's pixel-format numbers: an index, the bits per pixel in
// the second byte, and flags above them.
namespace pixel {
constexpr std::uint32_t Indexed = 0x10000;
constexpr std::uint32_t Gdi = 0x20000; // the drawing layer handles it directly
constexpr std::uint32_t Alpha = 0x40000;
constexpr std::uint32_t Format16bppRGB565 = 0x21006;
constexpr std::uint32_t Format32bppRGB = 0x22009;
constexpr std::uint32_t Format32bppARGB = 0x26200A;
constexpr int bitsOf(std::uint32_t format) { return static_cast<int>((format >> 8) & 0xFF); }
} // namespace pixel

// The format of the bitmap a decoded image is copied into: 32 bits with alpha
// for any format with alpha, the same format for one the drawing layer
// handles (1, 4, 8 bits indexed, 16, 24, 32 bits), else 32 bits without alpha.
std::uint32_t bitmapFormatFor(std::uint32_t sourceFormat);

struct BitmapImage {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 24;
    bool rgb565 = false;                 // 16-bit pixels laid out 5-6-5 rather than 5-5-5
    std::vector<std::uint32_t> palette;  // 0xAARRGGBB, indexed images only (alpha is dropped)
    std::vector<std::uint8_t> pixels;    // rows from the top, each bmpStride bytes
};

// Bytes of one row in the file: whole pixels rounded up to 4 bytes.
std::size_t bmpStride(int width, int bitsPerPixel);

// The whole file; empty when the image cannot be a BMP (no pixels, a depth
// the format has not, rows that do not match the size, a file beyond 4 GiB).
std::vector<std::uint8_t> bmpFileBytes(const BitmapImage& image);

// Writes the bytes beside `path` first and then puts them in its place, so an
// older file is replaced only by a whole new one. False when that failed.
bool writeFileReplacing(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

} // namespace pictra
