// Decoding goes through GDI+; encoding does not: its BMP encoder (Wine's at
// least) writes 32-bit images as 24-bit ones and a wrong size into 8-bit files.
// GDI+ is loaded at the first conversion, not at every start of the helper:
// the editor waits for the helper's window when it starts.
#include "converter/pictra/ConvertImageWin32.h"

#include "converter/pictra/BmpFile.h"
#include "core/LateBoundWin32.h"

#include <windows.h>
// The lean Windows header leaves out the COM pieces the imaging header needs.
#include <objidl.h>
#include <propidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstring>
#include <type_traits>
#include <vector>

namespace pictra {

namespace {

namespace gp = Gdiplus::DllExports;
using Gdiplus::GpBitmap;
using Gdiplus::GpImage;

// The library's functions this file calls; all of them or none.
struct Imaging {
    decltype(&Gdiplus::GdiplusStartup) startup = nullptr;
    decltype(&Gdiplus::GdiplusShutdown) shutdown = nullptr;
    decltype(&gp::GdipCreateBitmapFromFile) fromFile = nullptr;
    decltype(&gp::GdipDisposeImage) dispose = nullptr;
    decltype(&gp::GdipGetImagePixelFormat) pixelFormat = nullptr;
    decltype(&gp::GdipGetImageWidth) width = nullptr;
    decltype(&gp::GdipGetImageHeight) height = nullptr;
    decltype(&gp::GdipBitmapLockBits) lock = nullptr;
    decltype(&gp::GdipBitmapUnlockBits) unlock = nullptr;
    decltype(&gp::GdipGetImagePaletteSize) paletteSize = nullptr;
    decltype(&gp::GdipGetImagePalette) palette = nullptr;

    bool complete() const {
        return startup && shutdown && fromFile && dispose && pixelFormat && width && height && lock && unlock &&
               paletteSize && palette;
    }
};

const Imaging& imaging() {
    static const Imaging found = [] {
        auto bind = [](auto& f, const char* name) {
            f = wavora::lateBound<std::remove_reference_t<decltype(f)>>(L"gdiplus.dll", name);
        };
        Imaging i;
        bind(i.startup, "GdiplusStartup");
        bind(i.shutdown, "GdiplusShutdown");
        bind(i.fromFile, "GdipCreateBitmapFromFile");
        bind(i.dispose, "GdipDisposeImage");
        bind(i.pixelFormat, "GdipGetImagePixelFormat");
        bind(i.width, "GdipGetImageWidth");
        bind(i.height, "GdipGetImageHeight");
        bind(i.lock, "GdipBitmapLockBits");
        bind(i.unlock, "GdipBitmapUnlockBits");
        bind(i.paletteSize, "GdipGetImagePaletteSize");
        bind(i.palette, "GdipGetImagePalette");
        return i;
    }();
    return found;
}

// The decoded image's pixels in the bitmap format of the depth rule; the
// library converts when the source has another format.
bool copyPixels(const Imaging& g, GpBitmap* source, std::uint32_t format, BitmapImage& image) {
    const Gdiplus::Rect all(0, 0, image.width, image.height);
    Gdiplus::BitmapData data{};
    if (g.lock(source, &all, Gdiplus::ImageLockModeRead, static_cast<Gdiplus::PixelFormat>(format), &data) !=
        Gdiplus::Ok)
        return false;
    const std::size_t stride = bmpStride(image.width, image.bitsPerPixel);
    const std::size_t rowBytes = (static_cast<std::size_t>(image.width) * image.bitsPerPixel + 7) / 8;
    image.pixels.assign(stride * static_cast<std::size_t>(image.height), 0);
    for (int y = 0; y < image.height; ++y) {
        const auto* from = static_cast<const std::uint8_t*>(data.Scan0) + static_cast<std::ptrdiff_t>(y) * data.Stride;
        std::memcpy(image.pixels.data() + stride * static_cast<std::size_t>(y), from, rowBytes);
    }
    g.unlock(source, &data);
    return true;
}

void copyPalette(const Imaging& g, GpImage* source, BitmapImage& image) {
    INT size = 0;
    if (g.paletteSize(source, &size) != Gdiplus::Ok || size < static_cast<INT>(sizeof(Gdiplus::ColorPalette))) return;
    std::vector<std::uint8_t> block(static_cast<std::size_t>(size));
    auto* palette = reinterpret_cast<Gdiplus::ColorPalette*>(block.data());
    if (g.palette(source, palette, size) != Gdiplus::Ok) return;
    const std::size_t room = (static_cast<std::size_t>(size) - offsetof(Gdiplus::ColorPalette, Entries)) / sizeof(Gdiplus::ARGB);
    const std::size_t count = std::min<std::size_t>({palette->Count, room, 256});
    image.palette.assign(palette->Entries, palette->Entries + count);
}

bool convertBitmap(const Imaging& g, GpBitmap* source, const std::wstring& outputPath) {
    Gdiplus::PixelFormat sourceFormat = 0;
    UINT width = 0, height = 0;
    if (g.pixelFormat(source, &sourceFormat) != Gdiplus::Ok || g.width(source, &width) != Gdiplus::Ok ||
        g.height(source, &height) != Gdiplus::Ok)
        return false;
    const std::uint32_t format = bitmapFormatFor(sourceFormat);
    BitmapImage image;
    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    image.bitsPerPixel = pixel::bitsOf(format);
    image.rgb565 = format == pixel::Format16bppRGB565;
    if (image.width <= 0 || image.height <= 0 || !copyPixels(g, source, format, image)) return false;
    if (format & pixel::Indexed) copyPalette(g, source, image);
    const std::vector<std::uint8_t> bytes = bmpFileBytes(image);
    return !bytes.empty() && writeFileReplacing(outputPath, bytes);
}

bool convertWithLibrary(const Imaging& g, const std::wstring& imagePath, const std::wstring& outputPath) {
    GpBitmap* source = nullptr;
    if (g.fromFile(imagePath.c_str(), &source) != Gdiplus::Ok || !source) return false;
    const bool written = convertBitmap(g, source, outputPath);
    g.dispose(source);
    return written;
}

} // namespace

bool ConvertImage(const std::wstring& imagePath, const std::wstring& outputPath) {
    if (imagePath.empty() || outputPath.empty()) return false; // no output registered yet
    const Imaging& g = imaging();
    if (!g.complete()) return false;
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (g.startup(&token, &input, nullptr) != Gdiplus::Ok) return false;
    const bool written = convertWithLibrary(g, imagePath, outputPath);
    g.shutdown(token);
    return written;
}

} // namespace pictra
