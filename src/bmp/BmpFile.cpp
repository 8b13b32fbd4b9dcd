#include "bmp/BmpFile.h"

#include <algorithm>
#include <fstream>
#include <system_error>

namespace bmp {

namespace {

constexpr std::size_t FileHeaderSize = 14;
constexpr std::size_t InfoHeaderSize = 40;
constexpr std::uint32_t BiRgb = 0;
constexpr std::uint32_t BiBitfields = 3;

class Writer {
public:
    explicit Writer(std::vector<std::uint8_t>& out) : out_(out) {}
    void u16(std::uint32_t v) {
        out_.push_back(static_cast<std::uint8_t>(v));
        out_.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    void u32(std::uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }

private:
    std::vector<std::uint8_t>& out_;
};

bool isBmpDepth(int bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32; }

// An indexed image without a usable palette still needs one in the file; grey
// steps keep it readable.
std::vector<std::uint32_t> paletteFor(const BitmapImage& image) {
    const std::size_t most = std::size_t{1} << image.bitsPerPixel;
    std::vector<std::uint32_t> p(image.palette.begin(),
                                 image.palette.begin() + static_cast<std::ptrdiff_t>(std::min(most, image.palette.size())));
    if (p.empty())
        for (std::size_t i = 0; i < most; ++i) {
            const auto v = static_cast<std::uint32_t>(i * 255 / (most - 1));
            p.push_back(v << 16 | v << 8 | v);
        }
    return p;
}

} // namespace

std::size_t bmpStride(int width, int bitsPerPixel) {
    if (width <= 0 || bitsPerPixel <= 0) return 0;
    return (static_cast<std::size_t>(width) * static_cast<std::size_t>(bitsPerPixel) + 31) / 32 * 4;
}

std::vector<std::uint8_t> bmpFileBytes(const BitmapImage& image, ImageSizeField sizeField) {
    if (image.width <= 0 || image.height <= 0 || !isBmpDepth(image.bitsPerPixel)) return {};
    const std::size_t stride = bmpStride(image.width, image.bitsPerPixel);
    const std::size_t imageBytes = stride * static_cast<std::size_t>(image.height);
    if (image.pixels.size() != imageBytes) return {};
    const bool indexed = image.bitsPerPixel <= 8;
    const bool masks = image.bitsPerPixel == 16 && image.rgb565;
    const std::vector<std::uint32_t> palette = indexed ? paletteFor(image) : std::vector<std::uint32_t>{};
    const std::size_t offset = FileHeaderSize + InfoHeaderSize + (masks ? 12 : 0) + palette.size() * 4;
    const std::size_t total = offset + imageBytes;
    if (total > 0xFFFFFFFFu) return {};

    std::vector<std::uint8_t> out;
    out.reserve(total);
    Writer w(out);
    out.push_back('B');
    out.push_back('M');
    w.u32(static_cast<std::uint32_t>(total));
    w.u32(0); // reserved
    w.u32(static_cast<std::uint32_t>(offset));
    w.u32(InfoHeaderSize);
    w.u32(static_cast<std::uint32_t>(image.width));
    w.u32(static_cast<std::uint32_t>(image.height)); // positive: rows from the bottom
    w.u16(1);
    w.u16(static_cast<std::uint32_t>(image.bitsPerPixel));
    w.u32(masks ? BiBitfields : BiRgb);
    w.u32(sizeField == ImageSizeField::Stated ? static_cast<std::uint32_t>(imageBytes) : 0u);
    w.u32(0); // no resolution: the file is the same whatever the source claimed
    w.u32(0);
    w.u32(static_cast<std::uint32_t>(palette.size()));
    w.u32(0);
    if (masks) {
        w.u32(0xF800);
        w.u32(0x07E0);
        w.u32(0x001F);
    }
    for (std::uint32_t c : palette) w.u32(c & 0xFFFFFF); // blue, green, red, then a zero byte
    for (int row = image.height - 1; row >= 0; --row) {
        auto from = image.pixels.begin() + static_cast<std::ptrdiff_t>(stride * static_cast<std::size_t>(row));
        out.insert(out.end(), from, from + static_cast<std::ptrdiff_t>(stride));
    }
    return out;
}

bool writeFileReplacing(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::filesystem::path temp = path;
    temp += ".saving";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (out.fail()) {
            std::error_code ec;
            std::filesystem::remove(temp, ec);
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    if (!ec) return true;
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    return false;
}

} // namespace bmp
