#pragma once
// The program's own BMP writer, shared by both programs: Pictra writes the
// images it decodes with it, the editor the strips of the pattern window's
// tool bar. The file is exactly the bytes described below, whatever the
// platform's own encoder would have made of it. Depends on nothing but the
// standard library, so either program can compile it in.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace bmp {

struct BitmapImage {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 24;
    bool rgb565 = false;                // 16-bit pixels laid out 5-6-5 rather than 5-5-5
    std::vector<std::uint32_t> palette; // 0xAARRGGBB, indexed images only (alpha is dropped)
    std::vector<std::uint8_t> pixels;   // rows from the top, each bmpStride bytes
};

// Bytes of one row in the file: whole pixels rounded up to 4 bytes.
std::size_t bmpStride(int width, int bitsPerPixel);

// What the information header says at offset 34: Pictra states the size of
// the pixel block; the tool bar's strips leave it 0, as readers allow for
// uncompressed files.
enum class ImageSizeField { Stated, Zero };

// The whole file; empty when the image cannot be a BMP (no pixels, a depth
// the format has not, rows that do not match the size, a file beyond 4 GiB).
std::vector<std::uint8_t> bmpFileBytes(const BitmapImage& image,
                                       ImageSizeField sizeField = ImageSizeField::Stated);

// Writes the bytes beside `path` first and then puts them in its place, so an
// older file is replaced only by a whole new one and a failed write leaves
// nothing half-written behind. False when that failed.
bool writeFileReplacing(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

} // namespace bmp
