#include "ui/HelpBitmap.h"

#include "text/Paths.h"

#include <fstream>
#include <vector>

namespace wavora {

namespace {

constexpr int MaxSide = 4096;
constexpr std::size_t MaxFileBytes = 64u * 1024u * 1024u;

std::uint32_t u16(std::string_view b, std::size_t at) {
    return static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8;
}
std::uint32_t u32(std::string_view b, std::size_t at) {
    return u16(b, at) | u16(b, at + 2) << 16;
}

bool hasAlpha(std::string_view b, std::size_t pixelsAt, std::size_t stride, int width, int height) {
    for (int row = 0; row < height; ++row)
        for (int x = 0; x < width; ++x)
            if (b[pixelsAt + stride * static_cast<std::size_t>(row) + 4 * static_cast<std::size_t>(x) + 3] != 0)
                return true;
    return false;
}

Pixel overWhiteBy(Pixel p, unsigned alpha) {
    auto channel = [alpha](unsigned c) { return (c * alpha + 255u * (255u - alpha)) / 255u; };
    return rgb(channel((p >> 16) & 0xFF), channel((p >> 8) & 0xFF), channel(p & 0xFF));
}

} // namespace

std::shared_ptr<Surface> readBmp(std::string_view b, bool overWhite) {
    if (b.size() < 54 || b.substr(0, 2) != "BM") return nullptr;
    const std::uint32_t pixelsAt = u32(b, 10), headerSize = u32(b, 14);
    const auto width = static_cast<std::int32_t>(u32(b, 18));
    const auto rawHeight = static_cast<std::int32_t>(u32(b, 22));
    const std::uint32_t bits = u16(b, 28), compression = u32(b, 30);
    if (headerSize < 40 || width <= 0 || width > MaxSide || rawHeight == 0 || rawHeight < -MaxSide ||
        rawHeight > MaxSide)
        return nullptr;
    const bool bitfields32 = compression == 3 && bits == 32; // plain BGRX masks are all the BMP writers use
    if (compression != 0 && !bitfields32) return nullptr;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return nullptr;
    const int height = rawHeight < 0 ? -rawHeight : rawHeight;

    std::vector<Pixel> palette;
    if (bits <= 8) {
        std::uint32_t colours = u32(b, 46);
        if (colours == 0 || colours > (1u << bits)) colours = 1u << bits;
        std::size_t at = 14 + static_cast<std::size_t>(headerSize);
        if (at + 4 * static_cast<std::size_t>(colours) > b.size()) return nullptr;
        for (std::uint32_t i = 0; i < colours; ++i, at += 4)
            palette.push_back(rgb(static_cast<unsigned char>(b[at + 2]),
                                  static_cast<unsigned char>(b[at + 1]), static_cast<unsigned char>(b[at])));
    }
    const std::size_t stride = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
    if (pixelsAt > b.size() || stride * static_cast<std::size_t>(height) > b.size() - pixelsAt)
        return nullptr;

    auto surface = std::make_shared<Surface>(width, height);
    const bool blend = overWhite && bits == 32 && hasAlpha(b, pixelsAt, stride, width, height);
    for (int row = 0; row < height; ++row) {
        const int y = rawHeight > 0 ? height - 1 - row : row;
        const std::size_t at = pixelsAt + stride * static_cast<std::size_t>(row);
        for (int x = 0; x < width; ++x) {
            Pixel p = 0;
            if (bits >= 24) {
                std::size_t px = at + static_cast<std::size_t>(x) * (bits / 8);
                p = rgb(static_cast<unsigned char>(b[px + 2]), static_cast<unsigned char>(b[px + 1]),
                        static_cast<unsigned char>(b[px]));
                if (blend) p = overWhiteBy(p, static_cast<unsigned char>(b[px + 3]));
            } else {
                std::size_t bit = static_cast<std::size_t>(x) * bits;
                unsigned byte = static_cast<unsigned char>(b[at + bit / 8]);
                unsigned index = (byte >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                p = index < palette.size() ? palette[index] : Black;
            }
            surface->set(x, y, p);
        }
    }
    return surface;
}

std::shared_ptr<Surface> loadBmpFile(const std::string& pathUtf8, bool overWhite) {
    std::ifstream in(pathFromUtf8(pathUtf8), std::ios::binary);
    if (!in) return nullptr;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size <= 0 || static_cast<std::uint64_t>(size) > MaxFileBytes) return nullptr;
    in.seekg(0);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.read(bytes.data(), size);
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return readBmp(bytes, overWhite);
}

} // namespace wavora
