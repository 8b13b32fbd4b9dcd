// Decoding goes through GDI+; encoding does not: its BMP encoder (Wine's at
// least) writes 32-bit images as 24-bit ones and a wrong size into 8-bit files.
#include "converter/pictra/ConvertImageWin32.h"

#include "converter/pictra/BmpFile.h"

#include <windows.h>
// The lean Windows header leaves out the COM pieces the imaging header needs.
#include <objidl.h>
#include <propidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace pictra {

namespace {

// The decoded image's pixels in the bitmap format of the depth rule; the
// library converts when the source has another format.
bool copyPixels(Gdiplus::Bitmap& source, std::uint32_t format, BitmapImage& image) {
    Gdiplus::Rect all(0, 0, image.width, image.height);
    Gdiplus::BitmapData data{};
    if (source.LockBits(&all, Gdiplus::ImageLockModeRead, static_cast<Gdiplus::PixelFormat>(format), &data) !=
        Gdiplus::Ok)
        return false;
    const std::size_t stride = bmpStride(image.width, image.bitsPerPixel);
    const std::size_t rowBytes = (static_cast<std::size_t>(image.width) * image.bitsPerPixel + 7) / 8;
    image.pixels.assign(stride * static_cast<std::size_t>(image.height), 0);
    for (int y = 0; y < image.height; ++y) {
        const auto* from = static_cast<const std::uint8_t*>(data.Scan0) + static_cast<std::ptrdiff_t>(y) * data.Stride;
        std::memcpy(image.pixels.data() + stride * static_cast<std::size_t>(y), from, rowBytes);
    }
    source.UnlockBits(&data);
    return true;
}

void copyPalette(Gdiplus::Bitmap& source, BitmapImage& image) {
    const INT size = source.GetPaletteSize();
    if (size < static_cast<INT>(sizeof(Gdiplus::ColorPalette))) return;
    std::vector<std::uint8_t> block(static_cast<std::size_t>(size));
    auto* palette = reinterpret_cast<Gdiplus::ColorPalette*>(block.data());
    if (source.GetPalette(palette, size) != Gdiplus::Ok) return;
    const std::size_t room = (static_cast<std::size_t>(size) - offsetof(Gdiplus::ColorPalette, Entries)) / sizeof(Gdiplus::ARGB);
    const std::size_t count = std::min<std::size_t>({palette->Count, room, 256});
    image.palette.assign(palette->Entries, palette->Entries + count);
}

bool convertWithLibrary(const std::wstring& imagePath, const std::wstring& outputPath) {
    Gdiplus::Bitmap source(imagePath.c_str());
    if (source.GetLastStatus() != Gdiplus::Ok) return false;
    const std::uint32_t format = bitmapFormatFor(source.GetPixelFormat());
    BitmapImage image;
    image.width = static_cast<int>(source.GetWidth());
    image.height = static_cast<int>(source.GetHeight());
    image.bitsPerPixel = pixel::bitsOf(format);
    image.rgb565 = format == pixel::Format16bppRGB565;
    if (image.width <= 0 || image.height <= 0 || !copyPixels(source, format, image)) return false;
    if (format & pixel::Indexed) copyPalette(source, image);
    const std::vector<std::uint8_t> bytes = bmpFileBytes(image);
    return !bytes.empty() && writeFileReplacing(outputPath, bytes);
}

} // namespace

bool ConvertImage(const std::wstring& imagePath, const std::wstring& outputPath) {
    if (imagePath.empty() || outputPath.empty()) return false; // no output registered yet
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return false;
    const bool written = convertWithLibrary(imagePath, outputPath);
    Gdiplus::GdiplusShutdown(token);
    return written;
}

} // namespace pictra
